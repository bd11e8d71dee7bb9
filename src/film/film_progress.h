// The progress line of a running film: frame number, remaining time and
// the advice to hold Escape.
#pragma once

#include <string>

namespace ork {

// "Rest Zeit ca. " + the time in hours (one decimal, cut), minutes (rounded)
// or seconds, in the chosen language: 5400 gives "Rest Zeit ca. 1.5 Std.",
// 150 "Rest Zeit ca. 3 Min.", 59 "Rest Zeit ca. 59 Sek.".
std::string RemainingTimeText(int restSeconds);

// The estimate shown with each frame. A computed frame gives a new
// estimate from its own duration; a frame that only repeats the last
// picture shows the last estimate followed by the still-picture mark.
class TRemainingTime {
 public:
  // Frame i of a film ending at frame last took dtMs milliseconds.
  void FrameDone(int i, int last, double dtMs, bool computed);
  // The text for the next frame's progress line ("" before any frame).
  const std::string& Text() const { return text_; }

 private:
  std::string estimate_;
  std::string text_;
};

// The progress line of frame i of last: normal films name the frame and
// the remaining time, preview films also the frame's picture height bry
// in the plane (" HeightY=" + its 17-digit form).
std::string FilmProgressText(bool preview, int i, int last, const std::string& remaining,
                             double bry);

}  // namespace ork
