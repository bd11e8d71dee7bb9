#include "windows/preview_commands.h"

#include "model/movie.h"
#include "shell/commands.h"
#include "shell/commands_composition.h"
#include "shell/commands_movie.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"
#include "windows/dynamics_commands.h"
#include "windows/preview_texts.h"
#include "windows/preview_window.h"

namespace ork {

namespace {

namespace t = preview_texts;

TSlot PreviewSlot(int kind, int number) {
  const TSlot first = kind == 1 ? TSlot::PreviewM2_1 : TSlot::PreviewM1_1;
  return static_cast<TSlot>(static_cast<int>(first) + number - 1);
}

TSlot JuliaSlot(int number) {
  return static_cast<TSlot>(static_cast<int>(TSlot::Julia1) + number - 1);
}

bool IsRaisedSlot(TSlot slot) {
  return (slot >= TSlot::PreviewM1_1 && slot <= TSlot::PreviewM2_4) ||
         slot == TSlot::DynamicsPicture || (slot >= TSlot::Julia1 && slot <= TSlot::Julia4);
}

void SetPreviewWidth(int width) {
  Shell().PreviewWidth = width;
  Shell().StartPreviewPending = false;
}

// The preview window of `slot`, opened there first when the slot is empty.
TWindowPreview* PreviewWindowIn(TSlot slot, int kind, int number) {
  if (!SlotWindow(slot)) FillSlot(slot, TWindowPreview::Open(kind, number, MainWindow().Window));
  return dynamic_cast<TWindowPreview*>(SlotWindow(slot));
}

void PreviewByKey(const TParameterAnim* movie, int firstCommand) {
  if (!movie) return;
  const int r = movie->Actual % 4;
  PostShellCommand(firstCommand + (r == 0 ? 3 : r - 1));
}

}  // namespace

void PreviewCommand(int kind, int number) {
  TShellState& s = Shell();
  TParameterAnim* movie = kind == 1 ? s.Movie2.get() : s.Movie1.get();
  if (!movie) {
    if (number == 1) ShellHost().Information(Tr(t::kFileMissing));
    PostShellCommand(41);
    return;
  }
  const bool start = number == 1 && s.StartPreviewPending;
  if (start) s.PreviewWidth = 50;
  TWindowPreview* window = PreviewWindowIn(PreviewSlot(kind, number), kind, number);
  window->Fill(*movie, s.PreviewWidth,
               std::to_string(number) + " " + Tr(kind == 1 ? t::kPreviewM2 : t::kPreviewM1));
  if (start) {
    s.PreviewWidth = 200;
    s.StartPreviewPending = false;
  }
  PostShellCommand(41);
}

void ShowJuliaWindow(int kind, int number, int width, int height, TParameterAnim& movie,
                     const std::string& title) {
  if (number < 1 || number > 4) return;
  const TSlot slot = JuliaSlot(number);
  // A window laid out for another picture size would cut the new one off.
  if (auto* open = dynamic_cast<TWindowJulia*>(SlotWindow(slot));
      open && (open->PictureWidth != width || open->PictureHeight != height))
    CloseSlot(slot);
  if (!SlotWindow(slot))
    FillSlot(slot, TWindowJulia::Open(kind, number, width, height, MainWindow().Window));
  dynamic_cast<TWindowJulia*>(SlotWindow(slot))->Fill(movie, width, height, title);
}

void JuliaWindowM1() {
  TShellState& s = Shell();
  s.JuliaNext += 1;
  if (s.JuliaNext >= 5 || s.JuliaNext < 1) s.JuliaNext = 1;
  if (!s.Movie1) return;
  const TParameterAnim& movie = *s.Movie1;
  const int height = s.JuliaPreviewHeight;
  const double rows = static_cast<double>(movie.OutputHeight) / height;
  const double w = rows > 0 ? movie.OutputWidth / rows : 0.0;
  const int width = w >= 1 && w < 100000 ? static_cast<int>(w) : height;
  ShowJuliaWindow(0, s.JuliaNext, width, height, *s.Movie1,
                  std::to_string(s.JuliaNext) + " M1 JuliaSet=1");
}

void CloseAllPreviews() {
  for (int i = 0; i < kSlotCount; ++i)
    if (IsRaisedSlot(static_cast<TSlot>(i))) CloseSlot(static_cast<TSlot>(i));
  Shell().JuliaNext = 0;
}

void RaiseAllPreviews() {
  for (int i = 0; i < kSlotCount; ++i)
    if (IsRaisedSlot(static_cast<TSlot>(i)))
      if (TToolWindow* window = SlotWindow(static_cast<TSlot>(i))) window->Maxi();
}

void RegisterPreviewCommands() {
  for (int number = 1; number <= 4; ++number) {
    SetCommandHandler(41 + number, [number](int) { PreviewCommand(0, number); });
    SetCommandHandler(45 + number, [number](int) { PreviewCommand(1, number); });
  }
  SetCommandHandler(50, [](int) { PreviewByKey(Shell().Movie1.get(), 42); });
  SetCommandHandler(51, [](int) { PreviewByKey(Shell().Movie2.get(), 46); });
  SetCommandHandler(40, [](int) { CloseAllPreviews(); });
  SetCommandHandler(41, [](int) { RaiseAllPreviews(); });
  const int widths[][2] = {{52, 100}, {54, 200}, {55, 300}, {56, 400}, {57, 50}};
  for (const auto& [command, width] : widths)
    SetCommandHandler(command, [width = width](int) { SetPreviewWidth(width); });
  const int heights[][2] = {{59, 100}, {60, 200}, {61, 300}, {62, 400}, {63, 50}};
  for (const auto& [command, height] : heights)
    SetCommandHandler(command, [height = height](int) { Shell().JuliaPreviewHeight = height; });
  SetCommandHandler(64, [](int) { JuliaWindowM1(); });
  // The new-C Julia preview of the compositions (91) shows in these windows.
  SetJuliaPreviewOpener(&ShowJuliaWindow);
  // So do the history and keyframe commands' previews (97-100, 18, 20).
  SetPreviewOpener([](TSlot slot, int kind, int number, TParameterAnim& movie, int width,
                      const std::string& title) {
    if (TWindowPreview* window = PreviewWindowIn(slot, kind, number))
      window->Fill(movie, width, title);
  });
}

void RegisterPreviewAndDynamicsWindows() {
  RegisterPreviewCommands();
  RegisterDynamicsCommands();
}

}  // namespace ork
