#include "film/film_progress.h"

#include "film/texts.h"
#include "model/number_format.h"

namespace ork {

using namespace film_texts;

std::string RemainingTimeText(int rest) {
  if (rest > 3600) return Tr(kRest) + TruncateDecimals(rest / 3600.0, 1) + Tr(kHours);
  if (rest > 60) return Tr(kRest) + std::to_string(RealToInt(rest / 60.0 + 0.5)) + Tr(kMinutes);
  return Tr(kRest) + std::to_string(rest) + Tr(kSeconds);
}

void TRemainingTime::FrameDone(int i, int last, double dtMs, bool computed) {
  if (computed) {
    const int rest = RealToInt((last - (i + 1.0)) * dtMs / 1000 + 0.5);
    estimate_ = RemainingTimeText(rest);
    text_ = estimate_;
  } else {
    text_ = estimate_ + Tr(kStill);
  }
}

std::string FilmProgressText(bool preview, int i, int last, const std::string& remaining,
                             double bry) {
  std::string text = Tr(preview ? kPreview : kRun) + std::to_string(i) + "/" +
                     std::to_string(last) + " " + remaining;
  if (preview) text += " HeightY=" + RealText17(bry);
  return text + Tr(kEsc);
}

}  // namespace ork
