// The remaining time of a film, estimated from what each frame is expected
// to cost. The frames of a zoom do not cost the same: deeper frames run
// more iterations per pixel, so the time of the frames done so far, spread
// evenly over the rest, can be off by half. Each frame's cost is probed
// beforehand on a coarse grid of its pixels (a few hundred orbits), and the
// time measured so far is scaled by the cost still to come.
#pragma once

#include <vector>

#include "model/parameter.h"

namespace ork {

// The mean iterations per pixel of `frame`, from the orbits of a grid of
// about `samples` of its pixels, spread over the whole picture with the
// picture's own cycle tolerance.
double ProbeIterationsPerPixel(const TParameter& frame, int samples = 400);

class TFilmTimeEstimate {
 public:
  // Expected cost of every frame of the run, in order (frames that only
  // repeat a picture cost little but are not free: colouring, composing
  // and writing).
  explicit TFilmTimeEstimate(std::vector<double> frameCosts);

  // The cost of a frame: its pixels times the iterations per pixel (0 for
  // a frame that only repeats a picture) plus what colouring, composing
  // and writing a pixel costs, counted in iterations.
  static double FrameCost(double pixels, double iterationsPerPixel);

  // Frame `index` (0-based, in run order) is done; `elapsedSeconds` is the
  // time since the run began.
  void FrameDone(int index, double elapsedSeconds);

  // Seconds still needed for the frames not yet done; negative before the
  // first frame is done.
  double RemainingSeconds() const;

 private:
  std::vector<double> costs_;
  std::vector<double> costBefore_;  // costs of frames 0 .. i-1
  int done_ = 0;
  double elapsed_ = 0;
};

}  // namespace ork
