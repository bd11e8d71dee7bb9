// Expansion of a movie into a film movie: one complete keyframe per film
// frame, the interpolated parameters, a compute flag and a file name per
// frame. The film movie is saved as "Output\" + name + "-Animation.ini" and
// then produced frame by frame.
#pragma once

#include <memory>
#include <string>

#include "model/host.h"
#include "model/movie.h"

namespace ork {

class TINI;

// Frame counters over the whole film: T frames so far, second C (from 1)
// and frame B within the second (from 1 once a frame was counted).
struct TFrameCounter {
  int T = 0;
  int C = 1;
  int B = 0;
  // One more frame at fps frames per second.
  void Advance(int fps);
};

// value in decimal, left-padded with "0" to at least digits characters.
std::string PadZeros(int value, int digits);
// name + "-Anim-S" + C (5 digits) + "-F" + B (2 digits):
// "Spirale-Anim-S00001-F01".
std::string FrameName(const std::string& name, int C, int B);

// Expands the source movie (Movie movieNo, 1 or 2, named in a question)
// into a film movie with the film settings of `settings`. Questions and
// messages go through host. Result: never null; Count is the number of
// frames (0 for a movie with one key), or 1 when the preparation was
// abandoned (then Parameter holds exactly one record and nothing was
// saved). The film movie is saved only when `save` is set (a film produced
// in ranges saves it once, not in every job); `saved`, when given, tells
// whether this call saved it. The source keeps its current key; the Seconds and FactorPerPict
// the preparation derives for its keys stay in it (saved with the movie
// later), as do the parsed marks and colour variant 0 of every key.
std::unique_ptr<TParameterAnim> AnimatePrepare(int movieNo, TParameterAnim& source,
                                               const TINI& settings, THost& host,
                                               bool save = true, bool* saved = nullptr);

}  // namespace ork
