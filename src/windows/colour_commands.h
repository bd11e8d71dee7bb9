// The commands that open and fill the colour windows: 22 ... 28 for
// Movie 1 (need Movie 1, ColourTarget 0) and 31 ... 37 for Movie 2 (need
// the double picture shown and Movie 2, ColourTarget 1). A window is
// opened only when its slot is empty, then filled.
//
//   M1  M2   window
//   28  31   coding
//   24  32   colour factor F1      25 33  F2     26 36  F3     27 37  F4
//   22  34   colour table
//   23  35   colour shift
#pragma once

namespace ork {

// Binds the fourteen command numbers (shell/commands.h).
void RegisterColourWindows();

// Runs one of the fourteen commands; false for any other number.
bool RunColourCommand(int command);

}  // namespace ork
