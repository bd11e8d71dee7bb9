#include "shell/render_cli_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ork {

std::string ClockText(double seconds) {
  if (!(seconds >= 0)) return "--:--:--";
  const long long s = std::llround(std::min(seconds, 1e12));
  char text[48];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  return text;
}

std::string FilmProgressLine(const TFilmProgress& p) {
  const int frames = std::max(1, p.Last - p.First + 1);
  const int done = std::clamp(p.Frame - p.First + 1, 0, frames);
  const double fps = p.ElapsedSeconds > 0 ? done / p.ElapsedSeconds : 0;
  char text[160];
  std::snprintf(text, sizeof text, "frame %d/%d (%d%%), %.*f fps, elapsed %s, remaining %s",
                p.Frame, p.Last, done * 100 / frames, fps < 10 ? 2 : 1, fps,
                ClockText(p.ElapsedSeconds).c_str(), ClockText(p.RemainingSeconds).c_str());
  return text;
}

bool TProgressPacer::Due(const TFilmProgress& p) {
  const bool due = lastShown_ < 0 || p.Frame >= p.Last || p.ElapsedSeconds - lastShown_ >= period_;
  if (due) lastShown_ = p.ElapsedSeconds;
  return due;
}

}  // namespace ork
