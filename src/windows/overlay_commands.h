// The overlay, grid, line-style and filter commands of the Insert menu:
// 71 centre cross, 67 axes, 68 grid, 69 axes and grid, 65 / 66 next-key
// frames, 72 / 75 / 77 C points of Movie 1, 73 / 76 / 78 C points of
// Movie 2, 70 grid sizes, 118 line colours, 119 delete lines, texts and
// filter, 111-115 blur levels, 116 no filter.
//
// The target keyframe T of the overlays is CurrentKeyM2 while a double
// picture of both movies is shown (CompositionMode 222), else CurrentKeyM1;
// every overlay is drawn into RenderM1's shown picture.
#pragma once

namespace ork {

// Runs one of the numbers above; false for any other.
bool RunOverlayCommand(int command);
void RegisterOverlayCommands();

}  // namespace ork
