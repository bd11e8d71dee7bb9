#include "film/film_range.h"

#include <algorithm>
#include <cctype>

#include "engine/render.h"
#include "film/film_frame.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "picture/grid_state.h"

namespace ork {

namespace {

// Reads a positive decimal number of at most 9 digits from text at pos.
bool ReadFrameNumber(const std::string& text, size_t& pos, int& value) {
  const size_t start = pos;
  value = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) &&
         pos - start < 9) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
  }
  return pos > start && value >= 1;
}

// A frame the replay can compose at almost no cost: the pictures of a
// preview film are as small, so the compositions take them as they are.
TParameter Shrunk(const TParameter& frame) {
  constexpr int kSide = 8;
  TParameter copy = frame.Copy();
  copy.OutputWidth = std::min(copy.OutputWidth, kSide);
  copy.OutputHeight = std::min(copy.OutputHeight, kSide);
  return copy;
}

int FramesHeld(const TParameterAnim& film) {
  return std::min(film.Count, static_cast<int>(film.Parameter.size()) - 1);
}

}  // namespace

bool ParseFrameRange(const std::string& text, TFrameRange& range, std::string& error) {
  size_t pos = 0;
  TFrameRange r;
  bool ok = ReadFrameNumber(text, pos, r.First);
  if (ok && pos == text.size()) {
    r.Last = r.First;
  } else if (ok && text[pos] == '-') {
    ++pos;
    if (pos < text.size()) ok = ReadFrameNumber(text, pos, r.Last) && r.Last >= r.First;
    ok = ok && pos == text.size();
  } else {
    ok = false;
  }
  if (!ok) {
    error = "--frames must be A-B, A- or A, frame numbers from 1 with A <= B (got '" + text + "')";
    return false;
  }
  range = r;
  return true;
}

std::string FrameRangeText(const TFrameRange& range) {
  return std::to_string(range.First) + "-" + (range.Last > 0 ? std::to_string(range.Last) : "");
}

TFilmCarry ReplayFilmFrames(TParameterAnim& film1, TParameterAnim& film2, int mode,
                            bool twoMovies, int first) {
  TFilmCarry carry;
  const TCompositionState& comp = Composition();
  TRender render1, render2;
  const int last = std::min(first - 1, FramesHeld(film1));
  for (int i = 1; i <= last; ++i) {
    film1.Actual = i;
    TParameter p = Shrunk(film1.Parameter[i]);
    BeginFilmFrame(p);
    if ((p.DoCalculate != 0 && !comp.KeepLeftPicture) || carry.Source1 == 0) {
      render1.Init(p);
      carry.Source1 = i;
    }
    TParameter q;
    if (twoMovies && i <= FramesHeld(film2)) {
      film2.Actual = i;
      q = Shrunk(film2.Parameter[i]);
      SelectColorVariant(q, 0);
      if (q.DoCalculate != 0 || carry.Source2 == 0) {
        render2.Init(q);
        carry.Source2 = i;
      }
    }
    ComposeFilmFrame(mode, p, render1, twoMovies ? &q : nullptr, render2, film1, film2,
                     carry.LinesState, QuietHost());
  }
  return carry;
}

int FilmFrameCount(const TParameterAnim& film1, const TParameterAnim* film2) {
  int frames = std::max(0, FramesHeld(film1));
  if (film2) frames = std::min(frames, std::max(0, FramesHeld(*film2)));
  return frames;
}

std::vector<TFrameRange> PlanFrameRanges(const TParameterAnim& film1,
                                         const TParameterAnim* film2, int frames, int jobs) {
  std::vector<TFrameRange> ranges;
  frames = std::min(frames, FilmFrameCount(film1, film2));
  if (frames < 1) return ranges;
  // Pictures computed per frame, and the frames that compute one.
  std::vector<int> weight(static_cast<size_t>(frames) + 1, 0);
  std::vector<int> starts;
  long long total = 0;
  for (int i = 1; i <= frames; ++i) {
    int w = film1.Parameter[i].DoCalculate != 0 || i == 1 ? 1 : 0;
    if (film2 && (film2->Parameter[i].DoCalculate != 0 || i == 1)) ++w;
    weight[static_cast<size_t>(i)] = w;
    if (w > 0) starts.push_back(i);
    total += w;
  }
  jobs = std::clamp(jobs, 1, static_cast<int>(starts.size()));
  // Range k begins at the first computing frame with at least k / jobs of
  // the work before it.
  long long before = 0;
  int k = 1;
  ranges.push_back({1, frames});
  for (int i = 2; i <= frames && k < jobs; ++i) {
    before += weight[static_cast<size_t>(i) - 1];
    if (weight[static_cast<size_t>(i)] > 0 && before * jobs >= total * k) {
      ranges.back().Last = i - 1;
      ranges.push_back({i, frames});
      ++k;
    }
  }
  return ranges;
}

void FilmPictureSize(TParameterAnim& film1, TParameterAnim& film2, int mode, bool twoMovies,
                     int& width, int& height) {
  const TCompositionState comp = Composition();
  const TGridState grid = GridState();
  const TGridSettings gridSettings = GridSettings();
  const int actual1 = film1.Actual, actual2 = film2.Actual;
  width = height = 0;
  if (FramesHeld(film1) >= 1) {
    ReplayFilmFrames(film1, film2, mode, twoMovies, 2);
    const TParameter& frame = film1.Parameter[1];
    const int shown = Composition().ShownImage;
    width = frame.OutputWidth * (shown >= 2 ? 2 : 1);
    height = frame.OutputHeight * (shown >= 4 ? 2 : 1);
  }
  film1.Actual = actual1;
  film2.Actual = actual2;
  Composition() = comp;
  GridState() = grid;
  GridSettings() = gridSettings;
}

}  // namespace ork
