#include "film/animate_run.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "color/color_table.h"
#include "film/film_frame_queue.h"
#include "film/film_progress.h"
#include "film/film_settings.h"
#include "film/texts.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "picture/draw_placement.h"
#include "picture/grid_state.h"
#include "picture/overlay_calls.h"

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

// GridAutoMode from the frame's parsed grid spacing dX: a fixed spacing
// stays, -1 adapts it, below -1 chooses it automatically; 0 leaves it.
void SetGridAutoMode(double dX) {
  int& mode = GridState().GridAutoMode;
  if (dX > 0) mode = 1;
  else if (dX < -1) mode = 2;
  else if (dX < 0) mode = 0;
}

// Computes a frame's fractal into render; false when the user cancelled.
bool ComputeFrame(TParameter& key, TRender& render, THost& host, TFilmRunResult& result) {
  render.Init(key);
  ++result.FramesComputed;
  return Calculate(key, &host, render);
}

}  // namespace

TFilmRunResult AnimateRun(TParameterAnim& film1, TParameterAnim& film2, const TINI& settings,
                          THost& host, TFilmView& view, uint64_t aviFileLimit,
                          const std::vector<std::string>& videoFiles) {
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

  // The frame files and the AVI are written in the background while the
  // next frame is computed and composed.
  TFilmFrameQueue output(fs, planned, host, aviFileLimit);
  TRemainingTime remaining;
  int linesState = 0;
  // A frame that only repeats the last picture needs a computed one to
  // repeat; the first frame of a film always is one, but a render object
  // that was never computed is computed whatever the flag says.
  bool computed1 = false, computed2 = false;

  for (int i = first; i <= last; ++i) {
    const Clock::time_point start = Clock::now();
    film1.Actual = i;
    TParameter& p = film1.Parameter[i];
    SelectColorVariant(p, 0);
    ParseGridSizes(p.GridSizes);
    SetGridAutoMode(GridSettings().dX);

    bool cancelled = false;
    if ((p.DoCalculate != 0 && !comp.KeepLeftPicture) || !computed1) {
      cancelled = !ComputeFrame(p, render1, host, result);
      computed1 = true;
    }
    comp.CompositionMode = mode;
    if (mode == 1) {
      BuildColorTable(p, render1);
      ParseLineStyles(p);
      NormalizeLineList(p.Grid, p.CLinesThick, p.CGrid);
      PaintCalculated(&p, &render1, host);
      comp.ShownImage = 1;
      ShowLines(linesState, &p, &render1, &film1, host);
    } else if (mode == 2) {
      ShowDoubleM1(&p, &render1, host);
    } else if (mode == 4) {
      ShowFourfoldM1(&p, &render1, host);
    }

    if (twoMovies) {
      film2.Actual = i;
      TParameter& q = film2.Parameter[i];
      SelectColorVariant(q, 0);
      // A frame whose Movie 1 half was cancelled is dropped whatever
      // Movie 2 does: its left half would be incomplete.
      if (!cancelled && (q.DoCalculate != 0 || !computed2)) {
        cancelled = !ComputeFrame(q, render2, host, result);
        computed2 = true;
      }
      switch (mode) {
        case 22: ShowDoubleM1M2(&p, &render1, &q, &render2, &film1, &film2, host); break;
        case 21: ShowDoubleNewC(&p, &render1, &q, &render2, &film1, &film2, host); break;
        case 44: ShowFourfoldM1M2(&p, &render1, &q, &render2, host); break;
        default: ShowInsert(&p, &render1, &q, &render2, &film1, &film2, host); break;
      }
    }

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
      if (result.FramesWritten++ == 0) result.FirstFrame = p.FileNameKey;
      result.LastFrame = p.FileNameKey;
    }
    // A failed write is reported when the film learns of it, a frame or
    // two after the frame it belongs to; like a failure on the film's own
    // thread it skips that file and the film goes on.
    if (output.ReportFailures()) result.WriteFailed = true;

    const double dtMs =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    remaining.FrameDone(i, last, dtMs, p.DoCalculate != 0);

    if (host.PollCancel() == -1) {
      result.Cancelled = i < last;
      break;
    }
  }

  // Frames already handed over are written also when the film was stopped.
  if (!output.Close()) result.WriteFailed = true;
  result.AviFiles = output.AviFiles();
  result.VideoFiles = output.VideoFiles();
  view.End();
  host.StatusText("");
  host.Diagnostic("Animate End");
  return result;
}

}  // namespace ork
