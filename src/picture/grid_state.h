// Process-wide state of the coordinate grid. The film loop sets
// GridAutoMode per frame; the grid and its dialog leave a new "GridSizes"
// text in GridDialogText, which the overlay drawing (or the shell's grid
// command) stores into the keyframe being drawn. ResetProcessState()
// brings it back to the start values.
#pragma once

#include <string>

namespace ork {

struct TGridState {
  int GridAutoMode = 0;         // 1 spacing fixed by the frame, 0 adapted, 2 automatic
  bool GridSizesFixed = false;  // spacing is not adapted while set
  std::string GridDialogText;   // pending "GridSizes" text, empty when none
};

TGridState& GridState();
inline std::string& GridDialogText() { return GridState().GridDialogText; }

// When a grid-size text is pending, it becomes `gridSizes` and is cleared.
void TakeGridDialogText(std::string& gridSizes);

}  // namespace ork
