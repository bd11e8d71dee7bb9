#include "film/animate_run.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "film/film_frame.h"
#include "film/film_frame_queue.h"
#include "film/film_lock.h"
#include "film/film_progress.h"
#include "film/film_range.h"
#include "film/film_settings.h"
#include "film/film_time_estimate.h"
#include "film/texts.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "picture/draw_placement.h"

namespace ork {

using namespace film_texts;

bool IsTwoMovieComposition(int mode) { return mode < 1 || mode > 20; }

int FilmCompositionMode(int mode) {
  switch (mode) {
    case 1: case 2: case 4: case 21: case 22: case 44: case -1: case 0: case -12: return mode;
    case 222: return 22;
    case 3: return 21;
    case -111: return -1;
    case 101: return 0;
    default: return 1;
  }
}

namespace {

// Computes a frame's fractal into render; false when the user cancelled.
bool ComputeFrame(TParameter& key, TRender& render, THost& host, TFilmRunResult& result) {
  render.Init(key);
  ++result.FramesComputed;
  return Calculate(key, &host, render);
}

// The expected cost of frames first .. last: the iterations per pixel of
// up to kProbes computed frames spread over the run, in between linearly
// interpolated over the computed frames.
void AddFrameCosts(const TParameterAnim& film, int first, int last, std::vector<double>& costs) {
  constexpr int kProbes = 32;
  std::vector<int> computed;
  for (int i = first; i <= last; ++i)
    if (film.Parameter[i].DoCalculate != 0) computed.push_back(i);
  const int n = static_cast<int>(computed.size());
  std::vector<double> perPixel(computed.size(), 0.0);
  std::vector<int> probed;
  for (int k = 0; k < std::min(n, kProbes); ++k)
    probed.push_back(n <= kProbes ? k : static_cast<int>(static_cast<long long>(k) * (n - 1) / (kProbes - 1)));
  for (int k : probed) {
    TParameter frame = film.Parameter[computed[k]];
    frame.OutputWidth = film.OutputWidth;
    frame.OutputHeight = film.OutputHeight;
    perPixel[k] = ProbeIterationsPerPixel(frame);
  }
  for (size_t j = 0; j + 1 < probed.size(); ++j) {
    const int a = probed[j], b = probed[j + 1];
    for (int k = a + 1; k < b; ++k)
      perPixel[k] = perPixel[a] + (perPixel[b] - perPixel[a]) * (k - a) / (b - a);
  }
  const double pixels = static_cast<double>(film.OutputWidth) * film.OutputHeight;
  size_t next = 0;
  for (int i = first; i <= last; ++i) {
    const bool isComputed = next < computed.size() && computed[next] == i;
    costs[i - first] += TFilmTimeEstimate::FrameCost(pixels, isComputed ? perPixel[next++] : 0);
  }
}

}  // namespace

TFilmRunResult AnimateRun(TParameterAnim& film1, TParameterAnim& film2, const TINI& settings,
                          THost& host, TFilmView& view, uint64_t aviFileLimit,
                          const std::vector<std::string>& videoFiles, int lastFrame) {
  using Clock = std::chrono::steady_clock;
  TFilmRunResult result;
  TCompositionState& comp = Composition();
  view.Begin(Tr(kRun) + Tr(kEsc));

  TFilmSettings fs = ReadFilmSettings(settings);
  fs.VideoFiles = videoFiles;
  const int mode = FilmCompositionMode(comp.CompositionMode);
  const bool twoMovies = IsTwoMovieComposition(mode) && &film2 != &film1;

  TRender render1, render2;
  const int planned = std::max(0, film1.Count);
  const int first = std::max(1, film1.Actual);
  int last = planned;
  // What the film changes for its run only, put back however it ends (a
  // frame whose buffers cannot be had ends it by an exception).
  struct TRestore {
    TParameterAnim& film;
    int first;
    TCompositionState& comp;
    int insertX, insertY;
    TFilmView& view;
    int exceptions = std::uncaught_exceptions();
    ~TRestore() {
      film.Actual = first;
      comp.InsertPosX = insertX;
      comp.InsertPosY = insertY;
      if (std::uncaught_exceptions() > exceptions) view.End();  // else done below
    }
  } restore{film1, first, comp, comp.InsertPosX, comp.InsertPosY, view};
  // Preview pictures are smaller by Scale: the insert keeps its relative place.
  const double scale = film1.Scale >= 1 ? film1.Scale : 1;
  comp.InsertPosX = static_cast<int>(comp.InsertPosX / scale);
  comp.InsertPosY = static_cast<int>(comp.InsertPosY / scale);
  comp.KeepLeftPicture = false;
  if (twoMovies) last = std::min(last, std::max(0, film2.Count));
  last = std::min(last, static_cast<int>(film1.Parameter.size()) - 1);
  if (twoMovies) last = std::min(last, static_cast<int>(film2.Parameter.size()) - 1);
  if (lastFrame > 0) last = std::min(last, lastFrame);

  // The frame files and the AVI are written in the background while the
  // next frame is computed and composed.
  TFilmFrameQueue output(fs, planned, host, aviFileLimit);
  // A second run of the same film would write beside this one; every file
  // of the film must be possible before the first frame is computed.
  TFilmLock lock;
  std::string refused;
  if (first <= last && (fs.Avi || fs.Mp4 || !fs.VideoFiles.empty()) &&
      !lock.Acquire(film1.FileName, refused)) {
    result.WriteFailed = true;
    result.WriteError = refused;
    last = first - 1;
  } else if (first <= last && !output.CheckOutputs(film1.Parameter[first].FileNameKey)) {
    output.ReportFailures();
    last = first - 1;
  }
  TRemainingTime remaining;
  std::vector<double> costs(static_cast<size_t>(std::max(0, last - first + 1)), 0.0);
  if (!costs.empty()) {
    AddFrameCosts(film1, first, last, costs);
    if (twoMovies) AddFrameCosts(film2, first, last, costs);
  }
  TFilmTimeEstimate estimate(std::move(costs));
  const Clock::time_point runStart = Clock::now();
  // A film that starts later replays the frames before without computing
  // or writing them, for what they hand on to the first one.
  const TFilmCarry carry =
      first > 1 && first <= last ? ReplayFilmFrames(film1, film2, mode, twoMovies, first)
                                 : TFilmCarry{};
  int linesState = carry.LinesState;
  // A frame that only repeats the last picture needs a computed one to
  // repeat; the first frame of a film always is one. A render object that
  // was never computed gets the picture of the last frame before that was
  // computed (the frame itself at the film's start).
  bool computed1 = false, computed2 = false;
  auto computeSource = [](TParameterAnim& film, TParameter& frame, int source) -> TParameter& {
    if (source < 1) return frame;
    TParameter& key = film.Parameter[source];
    SelectColorVariant(key, 0);
    return key;
  };

  for (int i = first; i <= last; ++i) {
    const Clock::time_point start = Clock::now();
    film1.Actual = i;
    TParameter& p = film1.Parameter[i];
    BeginFilmFrame(p);

    bool cancelled = false;
    const bool wanted1 = p.DoCalculate != 0 && !comp.KeepLeftPicture;
    if (wanted1 || !computed1) {
      TParameter& key = wanted1 ? p : computeSource(film1, p, carry.Source1);
      cancelled = !ComputeFrame(key, render1, host, result);
      computed1 = true;
    }
    TParameter* q = nullptr;
    if (twoMovies) {
      film2.Actual = i;
      q = &film2.Parameter[i];
      SelectColorVariant(*q, 0);
      // A frame whose Movie 1 half was cancelled is dropped whatever
      // Movie 2 does: its left half would be incomplete.
      const bool wanted2 = q->DoCalculate != 0;
      if (!cancelled && (wanted2 || !computed2)) {
        TParameter& key = wanted2 ? *q : computeSource(film2, *q, carry.Source2);
        cancelled = !ComputeFrame(key, render2, host, result);
        computed2 = true;
      }
    }
    ComposeFilmFrame(mode, p, render1, q, render2, film1, film2, linesState, host);

    view.ShowFrame(render1);
    ++result.FramesShown;
    view.Progress(FilmProgressText(fs.Preview, i, last, remaining.Text(), p.bry));

    // Escape seen here is only consumed (the next repeat stops the film);
    // Q stops before the frame is written.
    if (host.PollCancel() == 1 || cancelled) {
      result.Cancelled = true;
      break;
    }

    if (const TPixmapPtr picture = ShownPicture(render1, comp.ShownImage)) {
      output.Hand(*picture, p.FileNameKey);
      if (result.FirstFrame.empty()) result.FirstFrame = p.FileNameKey;
    }
    // A failed write is known a frame or two after the frame it belongs to;
    // the frames handed over since are not written.
    if (output.ReportFailures()) break;

    const double dtMs =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    remaining.FrameDone(i, last, dtMs, p.DoCalculate != 0);
    TFilmProgress progress;
    progress.Frame = i;
    progress.First = first;
    progress.Last = last;
    progress.ElapsedSeconds = std::chrono::duration<double>(Clock::now() - runStart).count();
    estimate.FrameDone(i - first, progress.ElapsedSeconds);
    progress.RemainingSeconds = estimate.RemainingSeconds();
    view.FrameDone(progress);

    if (host.PollCancel() == -1) {
      result.Cancelled = i < last;
      break;
    }
  }

  // Frames already handed over are written also when the film was stopped.
  if (!output.Close() && !result.WriteFailed) {
    result.WriteFailed = true;
    result.WriteError = output.Error();
  }
  result.FramesWritten = output.FramesWritten();
  result.LastFrame = output.LastWritten();
  if (const std::string avi = output.AviFile(); !avi.empty()) result.AviFiles.push_back(avi);
  result.VideoFiles = output.VideoFiles();
  view.End();
  if (!refused.empty()) host.Information(Tr(kFilmBusy) + refused);
  else if (result.WriteFailed) host.Information(Tr(kWriteStopped) + result.WriteError);
  host.StatusText("");
  host.Diagnostic("Animate End");
  return result;
}

}  // namespace ork
