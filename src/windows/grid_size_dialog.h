// The grid-size dialog: edits GridSettings (spacings, decimals, number
// shifts, number size, which numbers are printed) and leaves the new
// "GridSizes" text in GridDialogText. Its last character tells the shell
// where the text goes: 0 remove the grid, 1 the keyframe, 2 every keyframe
// of the movie, 3 every keyframe of both movies.
#pragma once

#include <string>

namespace ork {

// Modal; `height` is the target keyframe's picture height in the plane,
// `name` "Movie 1" or "Movie 2". "OK" and the close box, "OK für alle KEY"
// and the Movie 1+2 button take every field (GridSizesFixed set);
// "Berechnen / Standard" and the delete button reset the spacing
// (GridSizesFixed cleared).
void GridSizeDialog(double height, const std::string& name);

}  // namespace ork
