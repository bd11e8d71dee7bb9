// The film's progress line on standard error, as encoders print theirs:
//
//   frame 123/447 (27%), 2.4 fps, elapsed 0:00:51, remaining 0:02:14
//
// On a terminal the line is rewritten in place; otherwise (a log file, a
// job scheduler's output) a line is written at most every few seconds, and
// always for the last frame of the run.
#pragma once

#include <string>

#include "film/animate_run.h"

namespace ork {

// "0:02:14" (hours without a bound); "--:--:--" for a negative value.
std::string ClockText(double seconds);

// The line for one frame of the run.
std::string FilmProgressLine(const TFilmProgress& progress);

// Chooses which frames get a line: the first, then one once `periodSeconds`
// have passed since the last line, and the run's last frame.
class TProgressPacer {
 public:
  explicit TProgressPacer(double periodSeconds) : period_(periodSeconds) {}
  bool Due(const TFilmProgress& progress);

 private:
  double period_;
  double lastShown_ = -1;
};

}  // namespace ork
