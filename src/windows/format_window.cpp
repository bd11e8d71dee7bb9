#include "windows/format_window.h"

#include <algorithm>

#include "model/latin1.h"
#include "model/number_format.h"
#include "windows/data_window_texts.h"
#include "windows/window_placement.h"

namespace ork {

namespace {

constexpr int kLine = 19;

// Sizes typed by the user are kept to what the movie loader accepts, so a
// typo cannot ask the engine for a picture of billions of pixels.
int OutputSide(const std::string& text) { return std::clamp(TextToInt(text), 8, kMaxOutputSide); }

}  // namespace

std::unique_ptr<TWindowOutputParameter> TWindowOutputParameter::Open(THandle parent) {
  using namespace data_texts;
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowOutputParameter>();
  const TRect at = gui.Geometry(parent);
  w->Window = gui.CreateWindow(kFormatInitialTitle, at.x + 32, BelowMenuBar(at.y + 64, parent),
                               294, 171,
                               kWinTitleBar | kWinMenuBar | kWinClientSize, parent);
  const THandle win = w->Window;
  gui.CreateLabel(win, 10, 8, 56, kLine, kWidthPixel);
  w->TextBoxWidth = gui.CreateTextField(win, 80, 8, 200, kLine);
  gui.CreateLabel(win, 10, 27, 56, kLine, kHeightPixel);
  w->TextBoxHeight = gui.CreateTextField(win, 80, 27, 200, kLine);
  gui.CreateLabel(win, 10, 46, 56, kLine, kFileName);
  w->TextBoxFileName = gui.CreateTextField(win, 80, 46, 200, kLine);
  w->Cmd_Exit = gui.CreateButton(win, 180, 70, 99, kLine, kOk);
  gui.CreateLabel(win, 10, 89, 56, kLine, kWeb);
  w->LabWeb = gui.CreateLabel(win, 80, 89, 248, kLine, "");
  gui.CreateLabel(win, 10, 108, 56, kLine, kEmail);
  w->LabEmail = gui.CreateLabel(win, 80, 108, 248, kLine, "");
  gui.CreateLabel(win, 10, 127, 56, kLine, kAuthor);
  w->LabAuthor = gui.CreateLabel(win, 80, 127, 248, kLine, "");
  gui.CreateLabel(win, 10, 146, 56, kLine, kUser);
  w->LabUser = gui.CreateLabel(win, 80, 146, 248, kLine, "");

  const THandle menu = gui.CreateMenu(win, Latin1(kQuickMenu));
  THandle sub = 0;
  std::string group;
  for (int i = 0; i < kQuickSizeCount; ++i) {
    const TQuickSize& q = kQuickSizes[i];
    if (group != q.group) {
      group = q.group;
      sub = gui.CreateSubMenu(menu, group);
    }
    gui.AddMenuItem(sub, Latin1(q.text), kQuickSizeCommand + i);
  }
  return w;
}

void TWindowOutputParameter::Close() {
  Gui().Destroy(Window);
  Window = 0;
}

TParameterAnim* TWindowOutputParameter::LiveMovie() const { return UsedAnim.Get(); }

void TWindowOutputParameter::Fill(const std::string& title, TParameterAnim& movie) {
  TGui& gui = Gui();
  UsedAnim = TMovieRef::Of(&movie);
  gui.SetText(Window, title);
  Show(TextBoxFileName, movie.FileName);
  Show(TextBoxWidth, std::to_string(movie.OutputWidth));
  Show(TextBoxHeight, std::to_string(movie.OutputHeight));
  gui.SetText(LabWeb, movie.Web);
  gui.SetText(LabEmail, movie.Email);
  gui.SetText(LabAuthor, movie.Author);
  gui.SetText(LabUser, movie.User);
}

std::string& TWindowOutputParameter::ShownText(THandle field) {
  if (field == TextBoxWidth) return shownWidth_;
  if (field == TextBoxHeight) return shownHeight_;
  if (field == TextBoxFileName) return shownName_;
  return noField_;
}

void TWindowOutputParameter::Show(THandle field, const std::string& text) {
  Gui().SetText(field, text);
  ShownText(field) = text;
}

void TWindowOutputParameter::Sync() {
  TParameterAnim* movie = LiveMovie();
  if (Window == 0 || !movie) return;
  const std::pair<THandle, std::string> values[] = {
      {TextBoxWidth, std::to_string(movie->OutputWidth)},
      {TextBoxHeight, std::to_string(movie->OutputHeight)},
      {TextBoxFileName, movie->FileName}};
  for (const auto& [field, value] : values) {
    std::string& shown = ShownText(field);
    if (value != shown && Gui().GetText(field) == shown) Show(field, value);
  }
}

void TWindowOutputParameter::SetWidthHeight(int width, int height) {
  Show(TextBoxWidth, std::to_string(width));
  Show(TextBoxHeight, std::to_string(height));
  if (TParameterAnim* movie = LiveMovie()) {
    movie->OutputWidth = width;
    movie->OutputHeight = height;
  }
}

void TWindowOutputParameter::OnEvent(const TEvent& event) {
  if (HandleEvent(event) == 1) CloseSlot(TSlot::PictureFormat);
}

int TWindowOutputParameter::HandleEvent(const TEvent& event) {
  if (Window == 0 || event.window != Window) return 0;
  TGui& gui = Gui();
  switch (event.kind) {
    case TEventKind::Gadget:
      if (event.source == Cmd_Exit) {
        Close();
        return 1;
      }
      break;
    case TEventKind::FocusLost: {
      TParameterAnim* movie = LiveMovie();
      const std::string text = gui.GetText(event.source);
      // A field left without a change stores nothing: its text may be
      // older than the movie.
      if (!movie || text == ShownText(event.source)) break;
      if (event.source == TextBoxFileName) {
        movie->FileName = text;
        shownName_ = text;
      } else if (event.source == TextBoxWidth) {
        movie->OutputWidth = OutputSide(text);
        Show(TextBoxWidth, std::to_string(movie->OutputWidth));
      } else if (event.source == TextBoxHeight) {
        movie->OutputHeight = OutputSide(text);
        Show(TextBoxHeight, std::to_string(movie->OutputHeight));
      }
      break;
    }
    case TEventKind::MenuCommand: {
      const int i = event.data - kQuickSizeCommand;
      if (i >= 0 && i < kQuickSizeCount) SetWidthHeight(kQuickSizes[i].width, kQuickSizes[i].height);
      break;
    }
    default:
      break;
  }
  return 0;
}

}  // namespace ork
