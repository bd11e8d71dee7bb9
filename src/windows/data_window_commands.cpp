#include "windows/data_window_commands.h"

#include "model/language.h"
#include "model/process_state.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"
#include "windows/data_window.h"
#include "windows/data_window_texts.h"
#include "windows/format_window.h"

namespace ork {

namespace {

// The status line before a data or format window opens. `withFourfold`:
// ShownImage 4 also gives the single-picture line.
void DataWindowStatus(bool withFourfold) {
  const int shown = Composition().ShownImage;
  if (shown == 1 || (withFourfold && shown == 4))
    SetStatus(CurrentSingleStatus());
  else if (shown == 2)
    SetStatus(DoubleStatusText());
}

// Actual = the key last computed, when that key exists in the movie.
void BackToShownKey(TParameterAnim& movie, int lastKey) {
  if (lastKey >= 1 && lastKey <= movie.Count) movie.Actual = lastKey;
}

void TakeStartPreview() {
  TShellState& s = Shell();
  if (!s.StartPreviewPending) return;
  s.PreviewWidth = 200;
  s.StartPreviewPending = false;
}

template <class TWindow>
void OpenDataWindow(TSlot slot, TParameterAnim& movie) {
  CloseSlot(slot);
  auto window = TWindow::Open(MainWindow().Window);
  TWindow* shown = window.get();
  FillSlot(slot, std::move(window));
  shown->Fill(movie);
}

template <class TWindow>
void DataWindowM1(TSlot slot) {
  TakeStartPreview();
  TShellState& s = Shell();
  if (!s.Movie1) return;
  BackToShownKey(*s.Movie1, ShownKeys().LastKeyM1);
  DataWindowStatus(true);
  OpenDataWindow<TWindow>(slot, *s.Movie1);
}

template <class TWindow>
void DataWindowM2(TSlot slot) {
  TakeStartPreview();
  TShellState& s = Shell();
  if (!s.Movie1 || !s.Movie2) {
    ShellHost().Information(Tr(data_texts::kBothMoviesNeeded));
    return;
  }
  BackToShownKey(*s.Movie1, ShownKeys().LastKeyM1);
  BackToShownKey(*s.Movie2, ShownKeys().LastKeyM2);
  DataWindowStatus(false);
  OpenDataWindow<TWindow>(slot, *s.Movie2);
}

void FormatWindow(int command) {
  TShellState& s = Shell();
  s.BothFormats = command == 15;
  TParameterAnim* movie = command == 14 ? s.Movie2.get() : s.Movie1.get();
  if (!movie || (command == 15 && !s.Movie2)) return;
  DataWindowStatus(false);
  const TText2& title = command == 13   ? data_texts::kFormatTitleM1
                        : command == 14 ? data_texts::kFormatTitleM2
                                        : data_texts::kFormatTitleBoth;
  CloseSlot(TSlot::PictureFormat);
  auto window = TWindowOutputParameter::Open(MainWindow().Window);
  TWindowOutputParameter* shown = window.get();
  FillSlot(TSlot::PictureFormat, std::move(window));
  shown->Fill(Tr(title), *movie);
}

}  // namespace

void RegisterDataWindows() {
  SetCommandHandler(16, [](int) { DataWindowM1<TWindowParameter>(TSlot::DataM1); });
  SetCommandHandler(1013, [](int) { DataWindowM1<TWindowParameterTeil2>(TSlot::DataM1Part2); });
  SetCommandHandler(17, [](int) { DataWindowM2<TWindowParameterBild2>(TSlot::DataM2); });
  SetCommandHandler(1017,
                    [](int) { DataWindowM2<TWindowParameterTeil2Bild2>(TSlot::DataM2Part2); });
  for (int command : {13, 14, 15}) SetCommandHandler(command, FormatWindow);
}

}  // namespace ork
