// Parts of a film produced on their own, so that a job scheduler can hand
// the frames of one film to many processes or machines: a range of frames,
// the replay that lets a range start anywhere, and a plan of ranges that
// share the computing work evenly.
#pragma once

#include <string>
#include <vector>

#include "model/movie.h"

namespace ork {

// Frames First..Last of a film, 1-based and inclusive; Last 0: to the end.
struct TFrameRange {
  int First = 1;
  int Last = 0;
};

// "A-B", "A-" (to the end) or "A" (that frame alone), A >= 1, B >= A.
// False with a reason in error otherwise.
bool ParseFrameRange(const std::string& text, TFrameRange& range, std::string& error);
// The text ParseFrameRange reads back: "A-B".
std::string FrameRangeText(const TFrameRange& range);

// What the frames before a range hand on to its first frame.
struct TFilmCarry {
  int LinesState = 0;  // ShowLines' next-key index
  // The last frame before whose Movie 1 (Movie 2) picture was computed:
  // a first frame that computes none shows that one. 0: none.
  int Source1 = 0;
  int Source2 = 0;
};

// Replays frames 1 .. first-1 of a film for a run that starts at `first`:
// each is coloured and composed as AnimateRun does (FilmCompositionMode
// `mode`, film2 for the two-movie compositions when twoMovies), on copies
// of the frames shrunk to at most 8 x 8 pixels and on empty buffers, so
// that nothing is computed, shown or written. The process-wide values the
// compositions carry on (grid, InsertOpacity, KeepLeftPicture) are left as
// those frames leave them; the film records themselves stay untouched.
// Leaves film1 (and film2) at their current key `first` - 1.
TFilmCarry ReplayFilmFrames(TParameterAnim& film1, TParameterAnim& film2, int mode,
                            bool twoMovies, int first);

// The number of frames a film produces (AnimateRun's last frame): film1's
// Count, for two-movie compositions at most film2's.
int FilmFrameCount(const TParameterAnim& film1, const TParameterAnim* film2);

// Splits frames 1..frames into at most `jobs` ranges that each compute
// about the same number of pictures (a frame computes its Movie 1 picture
// when its DoCalculate is set or it is the first; film2, when given, adds
// its own). Every range but the first begins with a computed frame, so no
// range computes a picture twice; there are never more ranges than
// computing frames. Empty for a film without frames.
std::vector<TFrameRange> PlanFrameRanges(const TParameterAnim& film1,
                                         const TParameterAnim* film2, int frames, int jobs);

// Width and height of the pictures the film writes: frame 1 composed as
// `mode` shows it (single, double or fourfold picture of film1's size).
// Composes on a shrunk copy; the process-wide values are put back.
void FilmPictureSize(TParameterAnim& film1, TParameterAnim& film2, int mode, bool twoMovies,
                     int& width, int& height);

}  // namespace ork
