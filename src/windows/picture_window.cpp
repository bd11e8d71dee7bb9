#include "windows/picture_window.h"

#include <algorithm>

#include "engine/orbit_picture.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/bmp_font_registry.h"
#include "shell/event_loop.h"
#include "windows/dynamics_commands.h"
#include "windows/dynamics_texts.h"
#include "windows/window_placement.h"

namespace ork {

namespace {

namespace t = dynamics_texts;

// Shifts beyond the largest picture only move the orbit out of sight;
// limiting them keeps every shifted position inside the int range.
int LimitShift(int shift) { return std::clamp(shift, -kMaxDynamicsLength, kMaxDynamicsLength); }

constexpr int kControlsWidth = 647 + 40 + 5;

}  // namespace

std::unique_ptr<TWindowPicture> TWindowPicture::Open(int size, THandle parent) {
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowPicture>();
  // The size and shift controls reach to x 687: a smaller picture gets a
  // window wide enough to show them, still 30 pixels from the right edge.
  const int width = std::max(size, kControlsWidth);
  const int x = gui.DesktopSize().width - width - 30;
  const int y = PictureAreaTop(parent) + 64;
  w->Window = gui.CreateWindow(t::kInitialTitle, x, y, width, size + 72,
                               kWinTitleBar | kWinStatusLine | kWinClientSize, parent);
  const THandle win = w->Window;
  gui.CreateLabel(win, 5, 6, 40, 19, Tr(t::kSize));
  w->TextBoxGr = gui.CreateTextField(win, 46, 4, 40, 19);
  w->Cmd_Gr = gui.CreateButton(win, 88, 4, 70, 19, Tr(t::kChange));
  w->Cmd_Nimm = gui.CreateButton(win, 180, 4, 180, 19, Tr(t::kToMainPicture));
  gui.CreateLabel(win, 395, 6, 65, 19, Tr(t::kShift));
  w->TextBoxVs = gui.CreateTextField(win, 461, 4, 40, 19);
  w->Cmd_Vs = gui.CreateButton(win, 503, 4, 70, 19, Tr(t::kChange));
  gui.CreateLabel(win, 580, 6, 65, 19, Tr(t::kShiftLeft));
  w->TextBoxVsL = gui.CreateTextField(win, 647, 4, 40, 19);
  return w;
}

void TWindowPicture::Close(std::unique_ptr<TWindowPicture>& window) {
  if (!window) return;
  window->Close();
  window.reset();
}

void TWindowPicture::Maxi(TWindowPicture* window) {
  if (window) window->Maxi();
}

void TWindowPicture::Maxi() { Gui().SetFocus(Window); }

void TWindowPicture::Close() {
  Gui().Destroy(Window);
  Window = PicturePanel = 0;
}

void TWindowPicture::Fill(int width, int height, double x, double y, const std::string& title) {
  TGui& gui = Gui();
  TCompositionState& composition = Composition();
  const int keptMode = composition.CompositionMode;
  composition.CompositionMode = -1000;
  const TDynamicsPicture& d = DynamicsPicture();
  gui.SetText(Window, title);
  gui.SetText(TextBoxGr, std::to_string(width));
  gui.SetText(TextBoxVs, std::to_string(d.DynamicsShiftUp));
  gui.SetText(TextBoxVsL, std::to_string(d.DynamicsShiftLeft));
  gui.Destroy(PicturePanel);
  PicturePanel = gui.CreatePanel(Window, 0, 27, width, height, t::kPanelTitle, false);
  gui.SetFocus(Window);
  if (TPixmap* pixmap = d.DynamicsPixmap.get()) {
    const std::string xText = "x=" + RealText17(x);
    const std::string yText = "y=" + RealText17(y);
    // The font the picture's height asks for, or the next smaller one where
    // a line would be cut off at the right edge.
    int index = FontIndexForHeight(std::min(pixmap->Height(), 400));
    while (index > 0 && std::max(BMPFont(index).Width(xText), BMPFont(index).Width(yText)) >
                            pixmap->Width())
      --index;
    TBMPFont& font = BMPFont(index);
    font.SetOutputPixmap(pixmap);
    // Two lines 19 rows apart fit the small font. A larger one ends the y
    // line at the picture's bottom and puts the x line a whole text height
    // above it, so that neither is cut off nor overlaps the other.
    const int bottom = height - d.DynamicsShiftUp;
    const int yTop = std::min(bottom - 25, bottom - font.Height(yText));
    font.Draw(0, std::min(bottom - 44, yTop - font.Height(xText)), xText);
    font.Draw(0, yTop, yText);
    font.SetOutputPixmap(nullptr);
    gui.SetPanelPixmap(PicturePanel, pixmap->Data(), pixmap->Width(), pixmap->Height());
  }
  gui.SetStatusText(Window, Tr(t::kStatusShiftUp) + std::to_string(d.DynamicsShiftUp) +
                                " Pix" + Tr(t::kStatusShiftLeft) +
                                std::to_string(d.DynamicsShiftLeft) + " Pix");
  composition.CompositionMode = keptMode;
}

void TWindowPicture::OnEvent(const TEvent& event) {
  if (event.kind != TEventKind::Gadget) return;
  TGui& gui = Gui();
  if (event.source == Cmd_Gr) {
    Dynamics().DynamicsLength = LimitDynamicsLength(TextToInt(gui.GetText(TextBoxGr)));
    Dynamics().DynamicsMode = 2;
    PostDynamicsRun();
  } else if (event.source == Cmd_Nimm) {
    PostShellCommand(82);
  } else if (event.source == Cmd_Vs) {
    TDynamicsPicture& d = DynamicsPicture();
    d.DynamicsShiftUp = LimitShift(TextToInt(gui.GetText(TextBoxVs)));
    d.DynamicsShiftLeft = LimitShift(TextToInt(gui.GetText(TextBoxVsL)));
    Dynamics().DynamicsMode = 2;
    PostDynamicsRun();
  }
}

}  // namespace ork
