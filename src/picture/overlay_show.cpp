// The two routines that draw all overlays of a keyframe: ShowLines with the
// movie at hand (C points of other keyframes, next-key frame), DrawAllGrids
// for a single picture, which leaves the movie-bound kinds to the shell.
#include "picture/overlay_calls.h"

#include <algorithm>
#include <string>

#include "color/blur.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "model/text_util.h"
#include "picture/grid_state.h"
#include "picture/overlay.h"

namespace ork {

namespace {

enum TKind { kGrid = 0, kCross = 1, kAxes = 2, kPointsTo = 3, kPointsFrom = 4, kPoint = 5,
             kNext = 6 };

// Draws the kind once per keyframe j of first..last, with keyframe j's C
// point in pox/poy.
void DrawCPoints(const char* kind, TParameter& key, TRender& render, const TParameterAnim& movie,
                 int first, int last, THost& host) {
  for (int j = first; j <= last; ++j) {
    key.pox = movie.Parameter[j].CCx;
    key.poy = movie.Parameter[j].CCy;
    DrawOverlay(kind, &key, &render, host);
  }
}

}  // namespace

void ShowLines(int& state, TParameter* keyframe, TRender* render, TParameterAnim* movie,
               THost& host) {
  if (keyframe == nullptr || render == nullptr || movie == nullptr) return;
  host.Diagnostic("ShowLines()");
  TParameter& key = *keyframe;
  ParseLineStyles(key);
  NormalizeLineList(key.Grid, key.CLinesThick, key.CGrid);
  Filter(*render, key.Filter, &host);

  const int i = movie->Actual;
  // Keyframes 1..n that the movie really holds.
  const int n = std::min(movie->Count, static_cast<int>(movie->Parameter.size()) - 1);
  if (i >= 1 && i <= n) {
    // Next-key frame. In a film movie every frame of an interval carries the
    // start key's KeyNr; the search finds the interval's last frame and the
    // state keeps it until the film gets there.
    int d = state > 0 ? state : (state == 0 ? i + 1 : 0);
    if (d <= n) {
      if (state == 0) {
        for (int j = 1; i + j + 1 < n && movie->Parameter[i + j].KeyNr <= key.KeyNr; ++j) {
          d = i + j;
        }
        state = d;
      }
      if (d == i) state = 0;
      if (d < i) d = i;
      if (key.CGrid[kNext] != 0 && d < n) {
        const TParameter& next = movie->Parameter[d];
        key.brxfollow = next.brx;
        key.bryfollow = next.bry;
        key.vsxfollow = next.vsx;
        key.vsyfollow = next.vsy;
        key.Degreefollow = next.Degree;
        DrawOverlay("N", &key, render, host);
      }
    }
    if (key.CGrid[kPointsTo] != 0) DrawCPoints("CA", key, *render, *movie, 1, i, host);
    if (key.CGrid[kPointsFrom] != 0) DrawCPoints("CB", key, *render, *movie, i, n, host);
  }
  if (key.CGrid[kGrid] != 0) DrawOverlay("G", &key, render, host);
  TakeGridDialogText(key.GridSizes);
  if (key.CGrid[kCross] != 0) DrawOverlay("M", &key, render, host);
  if (key.CGrid[kAxes] != 0) DrawOverlay("A", &key, render, host);
  if (key.CGrid[kPoint] != 0) DrawOverlay("C", &key, render, host);
  if (!key.TextOutputList.empty()) DrawTextOutput(&key, render);
}

void DrawAllGrids(TParameter* keyframe, TRender* render, THost& host) {
  host.Diagnostic("drin in DrawAllGrids()");
  if (keyframe == nullptr || render == nullptr) return;
  const int mode = Composition().CompositionMode;
  if (mode >= 2 || mode == -1000) return;
  TParameter& key = *keyframe;
  for (int k = 0; k <= kNext; ++k) {
    if (key.CLinesThick[k] == 0) key.CLinesThick[k] = 1;
  }
  const std::string list = key.Grid;
  for (const std::string& field : SplitFields(list, ',')) {
    const std::string token = Trim(field);
    if (token.empty()) continue;
    if (token == "CA") {
      host.PostCommand(kCommandCPointsToKey);
    } else if (token == "CB") {
      host.PostCommand(kCommandCPointsFromKey);
    } else if (token == "N") {
      host.PostCommand(kCommandNextKeyFrame);
    } else if (token == "NA") {
      host.PostCommand(kCommandAllNextKeyFrames);
    } else {
      DrawOverlay(token, &key, render, host);
      TakeGridDialogText(key.GridSizes);
    }
  }
}

void DropPendingGridChange() { GridDialogText().clear(); }

}  // namespace ork
