#include "windows/colour_commands.h"

#include "model/process_state.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "windows/colour_coding_window.h"
#include "windows/colour_factor_window.h"
#include "windows/colour_shift_window.h"
#include "windows/colour_table_window.h"

namespace ork {

namespace {

enum class TColourWindow { Coding, Factor, Table, Shift };

struct TColourCommand {
  int command;
  int target;  // 0 Movie 1, 1 Movie 2
  TColourWindow window;
  int factor;  // colour factor window: 1 ... 4
};

constexpr TColourCommand kCommands[] = {
    {28, 0, TColourWindow::Coding, 0}, {24, 0, TColourWindow::Factor, 1},
    {25, 0, TColourWindow::Factor, 2}, {26, 0, TColourWindow::Factor, 3},
    {27, 0, TColourWindow::Factor, 4}, {22, 0, TColourWindow::Table, 0},
    {23, 0, TColourWindow::Shift, 0},  {31, 1, TColourWindow::Coding, 0},
    {32, 1, TColourWindow::Factor, 1}, {33, 1, TColourWindow::Factor, 2},
    {36, 1, TColourWindow::Factor, 3}, {37, 1, TColourWindow::Factor, 4},
    {34, 1, TColourWindow::Table, 0},  {35, 1, TColourWindow::Shift, 0},
};

// The slot's window, opened first when the slot is empty. A window opened
// anew computes its samples: what FensterCol says about earlier samples
// does not hold for it.
template <class TWindow>
TWindow& SlotWindowOpened(TSlot slot, TParameterAnim& movie, bool hasSamples) {
  if (!SlotWindow(slot)) {
    if (hasSamples && movie.FensterCol > 0) movie.FensterCol = 0;
    FillSlot(slot, TWindow::Open(MainWindow().Window));
  }
  return static_cast<TWindow&>(*SlotWindow(slot));
}

void RunColour(const TColourCommand& c) {
  TShellState& s = Shell();
  if (c.target == 0 && !s.Movie1) return;
  if (c.target == 1 && (Composition().ShownImage != 2 || !s.Movie2)) return;
  s.ColourTarget = c.target;
  TParameterAnim& movie = c.target == 0 ? *s.Movie1 : *s.Movie2;
  switch (c.window) {
    case TColourWindow::Coding:
      SlotWindowOpened<TWindowCodierung>(TSlot::Coding, movie, true).Fill(&movie, s.RenderColour);
      break;
    case TColourWindow::Factor:
      SlotWindowOpened<TWindowColFact>(TSlot::ColourFactor, movie, false).Fill(c.factor, &movie);
      break;
    case TColourWindow::Table:
      SlotWindowOpened<TWindowFarbtabellen>(TSlot::ColourTables, movie, true)
          .Fill(&movie, s.RenderColour, s.ColourTableMode);
      break;
    case TColourWindow::Shift:
      SlotWindowOpened<TWindowColShift>(TSlot::ColourShift, movie, false).Fill(&movie);
      break;
  }
}

}  // namespace

bool RunColourCommand(int command) {
  for (const TColourCommand& c : kCommands)
    if (c.command == command) {
      RunColour(c);
      return true;
    }
  return false;
}

void RegisterColourWindows() {
  for (const TColourCommand& c : kCommands)
    SetCommandHandler(c.command, [](int command) { RunColourCommand(command); });
}

}  // namespace ork
