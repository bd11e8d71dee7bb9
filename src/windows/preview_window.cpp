#include "windows/preview_window.h"

#include <algorithm>

#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "shell/event_loop.h"
#include "shell/gui_host.h"
#include "shell/shell_host.h"
#include "windows/preview_texts.h"
#include "windows/window_placement.h"

namespace ork {

namespace {

namespace t = preview_texts;

constexpr int kWindowFlags = kWinTitleBar | kWinStatusLine | kWinClientSize;

void ShowSingle(TGui& gui, THandle panel, const TRender& render) {
  if (render.Image && !render.Image->Empty())
    gui.SetPanelPixmap(panel, render.Image->Data(), render.Image->Width(),
                       render.Image->Height());
}

// Computes and paints `key` into a new render object; the status and the
// cancel keys go through the window.
bool ComputeSmall(TParameter& key, THandle window, std::unique_ptr<TRender>& render) {
  render = std::make_unique<TRender>();
  render->Init(key);
  TGuiHost host(window);
  const bool ok = Calculate(key, &host, *render);
  ShowCalculated(&key, render.get(), host);
  return ok;
}

}  // namespace

TSmallPictureFrame::TSmallPictureFrame()
    : composition_(Composition()), dynamicsMode_(Dynamics().DynamicsMode) {
  Composition().CompositionMode = -1000;
  Dynamics().DynamicsMode = 0;
}

TSmallPictureFrame::~TSmallPictureFrame() {
  TCompositionState& c = Composition();
  c.CompositionMode = composition_.CompositionMode;
  c.ShownImage = composition_.ShownImage;
  c.KeepLeftPicture = composition_.KeepLeftPicture;
  Dynamics().DynamicsMode = dynamicsMode_;
}

// ---- TWindowPreview ----------------------------------------------------------

std::unique_ptr<TWindowPreview> TWindowPreview::Open(int kind, int number, THandle parent) {
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowPreview>();
  const int x = std::max(gui.DesktopSize().width / 2 - 300 + 50 * number, 10);
  const int y = PictureAreaTop(parent) + 50 + 20 * kind;
  w->Window = gui.CreateWindow(t::kInitialTitle, x, y, 32, 32, kWindowFlags, parent);
  w->Bildfolge = kind == 1 ? 2 : kind == 2 ? 3 : 1;
  return w;
}

void TWindowPreview::Close(std::unique_ptr<TWindowPreview>& window) {
  if (!window) return;
  window->Close();
  window.reset();
}

void TWindowPreview::Maxi(TWindowPreview* window) {
  if (window) window->Maxi();
}

void TWindowPreview::Maxi() { Gui().SetFocus(Window); }

void TWindowPreview::Close() {
  Gui().Destroy(Window);
  Window = PreviewPanel = 0;
  UsedAnim = nullptr;
  OwnMovie.reset();
  Render_.reset();
}

bool TWindowPreview::Fill(TParameterAnim& movie, int size, const std::string& title) {
  TGui& gui = Gui();
  UsedAnim = &movie;
  TParameter* p = movie.GetActualParameter();
  if (!p || size <= 0) return false;
  TSmallPictureFrame frame;
  TGuiHost(Window).Diagnostic("TWindowPreview .-................. Para.colz=" +
                              std::to_string(p->colz));
  // The keyframe's own output size is the movie's while it is not computed.
  p->OutputWidth = movie.OutputWidth;
  p->OutputHeight = movie.OutputHeight;
  const double f = static_cast<double>(std::max(p->OutputWidth, p->OutputHeight)) / size;
  if (f > 0) {
    p->OutputWidth = static_cast<int>(p->OutputWidth / f);
    p->OutputHeight = static_cast<int>(p->OutputHeight / f);
  }
  gui.SetClientSize(Window, p->OutputWidth, p->OutputHeight);
  gui.SetText(Window, title + "    " + std::to_string(size) + t::kPixelSuffix);
  gui.Destroy(PreviewPanel);
  PreviewPanel = gui.CreatePanel(Window, 0, 0, p->OutputWidth, p->OutputHeight,
                                 t::kPreviewPanel, false);
  gui.SetFocus(Window);
  const bool ok = ComputeSmall(*p, Window, Render_);
  ShowSingle(gui, PreviewPanel, *Render_);
  p->OutputWidth = movie.OutputWidth;
  p->OutputHeight = movie.OutputHeight;
  if (!ok) {
    gui.SetStatusText(Window, Tr(t::kCancelled));
    return ok;
  }
  // A small preview cannot show the whole line: the longest of these forms
  // that fits, and the whole line as the picture's tooltip.
  const std::string key = std::to_string(Bildfolge) + "[KEY " + std::to_string(movie.Actual) + "]";
  const std::string julia = key + "  JuliaSet=" + std::to_string(p->julia);
  const std::string whole = julia + " " + movie.FileName;
  const std::string forms[] = {whole, julia, key};
  std::string shown = "[" + std::to_string(movie.Actual) + "]";
  for (const std::string& form : forms)
    if (gui.StatusTextFits(Window, form)) {
      shown = form;
      break;
    }
  gui.SetStatusText(Window, shown);
  gui.SetToolTip(PreviewPanel, whole);
  return ok;
}

// ---- TWindowJulia ------------------------------------------------------------

std::unique_ptr<TWindowJulia> TWindowJulia::Open(int kind, int number, int width, int height,
                                                 THandle parent) {
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowJulia>();
  const int desktop = gui.DesktopSize().width;
  int x = desktop / 2 + 280 * number - 800;
  if (x < 10) x = 10;
  if (x > desktop - width) x = desktop - width;
  const int y = PictureAreaTop(parent) + 50 + 20 * kind;
  w->Window = gui.CreateWindow(t::kJuliaInitialTitle, x, y, width, height + 60, kWindowFlags,
                               parent);
  w->Bildfolge = kind == 1 ? 2 : 1;
  w->PictureWidth = width;
  w->PictureHeight = height;
  const THandle win = w->Window;
  w->Cmd_Nimm = gui.CreateButton(win, 2, 2, width - 4, 19, Tr(t::kAccept));
  if (height <= 100) {
    w->TextBoxCx = gui.CreateTextField(win, 0, 24, width, 19);
    w->TextBoxCy = gui.CreateTextField(win, 0, 41, width, 19);
  } else {
    gui.CreateLabel(win, 0, 24, 21, 19, t::kCxLabel);
    gui.CreateLabel(win, 0, 41, 21, 19, t::kCyLabel);
    w->TextBoxCx = gui.CreateTextField(win, 23, 24, width - 26, 19);
    w->TextBoxCy = gui.CreateTextField(win, 23, 41, width - 26, 19);
  }
  return w;
}

void TWindowJulia::Close(std::unique_ptr<TWindowJulia>& window) {
  if (!window) return;
  window->Close();
  window.reset();
}

void TWindowJulia::Maxi(TWindowJulia* window) {
  if (window) window->Maxi();
}

void TWindowJulia::Maxi() { Gui().SetFocus(Window); }

void TWindowJulia::Close() {
  Gui().Destroy(Window);
  Window = JuliaPanel = TextBoxCx = TextBoxCy = Cmd_Nimm = 0;
  Render_.reset();
}

TParameterAnim* TWindowJulia::UsedAnim() const {
  return Bildfolge == 2 ? Shell().Movie2.get() : Shell().Movie1.get();
}

bool TWindowJulia::Fill(TParameterAnim& movie, int width, int height, const std::string& title) {
  TGui& gui = Gui();
  TParameter* p = movie.GetActualParameter();
  if (!p) return false;
  TSmallPictureFrame frame;
  p->OutputWidth = width;
  p->OutputHeight = height;
  const int julia = p->julia;
  p->julia = 1;
  gui.SetText(Window, title + "    " + std::to_string(height) + t::kPixelSuffix);
  gui.Destroy(JuliaPanel);
  JuliaPanel = gui.CreatePanel(Window, 0, 60, width, height, t::kJuliaPanel, false);
  gui.SetText(TextBoxCx, RealText17(p->CCx));
  gui.SetText(TextBoxCy, RealText17(p->CCy));
  gui.SetFocus(Window);
  const bool ok = ComputeSmall(*p, Window, Render_);
  ShowSingle(gui, JuliaPanel, *Render_);
  p->OutputWidth = movie.OutputWidth;
  p->OutputHeight = movie.OutputHeight;
  gui.SetStatusText(Window, ok ? std::to_string(Bildfolge) + "[KEY" +
                                     std::to_string(movie.Actual) + "]  JuliaSet=" +
                                     std::to_string(p->julia) + " " + movie.FileName
                               : Tr(t::kCancelled));
  p->julia = julia;
  return ok;
}

void TWindowJulia::OnEvent(const TEvent& event) {
  if (event.kind != TEventKind::Gadget || event.source != Cmd_Nimm) return;
  TGui& gui = Gui();
  const double a = TextToReal(gui.GetText(TextBoxCx));
  const double b = TextToReal(gui.GetText(TextBoxCy));
  TParameterAnim* movie = UsedAnim();
  TParameter* p = movie ? movie->GetActualParameter() : nullptr;
  if (!p) return;
  p->CCx = a;
  p->CCy = b;
  const std::string question = Tr(t::kJuliaQuestion1) + std::to_string(p->KeyNr) +
                               Tr(t::kJuliaQuestion2) + " (Cx=" + RealText17(a) +
                               ", Cy=" + RealText17(b) + Tr(t::kJuliaQuestion3);
  if (ShellHost().Question(question)) PostShellCommand(10);
}

}  // namespace ork
