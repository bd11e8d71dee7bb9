#include "picture/composition.h"

#include <algorithm>
#include <vector>

#include "color/beginner_name.h"
#include "color/blur.h"
#include "color/coding.h"
#include "color/color_table.h"
#include "engine/row_bands.h"
#include "engine/worker_pool.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "picture/argb.h"
#include "picture/overlay_calls.h"
#include "picture/variant_paint.h"

namespace ork {

namespace {

bool HasTables(const TRender& r) {
  return r.ColR && r.ColG && r.ColB && !r.ColR->empty() && !r.ColG->empty() && !r.ColB->empty();
}

// A keyframe, a render object with its tables and the picture to write,
// the double or fourfold picture created when it is first needed.
bool Ready(const TParameter* key, TRender* render, TPixmapPtr TRender::*picture) {
  if (!key || !render || !HasTables(*render)) return false;
  if (picture == &TRender::ImageD) render->NeedImageD();
  if (picture == &TRender::ImageV) render->NeedImageV();
  return render->*picture != nullptr;
}

void ParseLines(TParameter& key) {
  ParseLineStyles(key);
  NormalizeLineList(key.Grid, key.CLinesThick, key.CGrid);
}

// Column w - 1 black and w - 2 white in rows 0 .. h - 1.
void DoubleSeparator(TPixmap& picture, int w, int h) {
  for (int y = 0; y < h; ++y) {
    picture.Set(w - 1, y, kOpaqueBlack);
    picture.Set(w - 2, y, kOpaqueWhite);
  }
}

// White lines at x = w - 1 and y = h - 1, black ones at x = w and y = h,
// across the whole 2w x 2h picture; the horizontal lines are drawn last.
void FourfoldSeparators(TPixmap& picture, int w, int h) {
  for (int y = 0; y <= 2 * h - 1; ++y) {
    picture.Set(w, y, kOpaqueBlack);
    picture.Set(w - 1, y, kOpaqueWhite);
  }
  for (int x = 0; x <= 2 * w - 1; ++x) {
    picture.Set(x, h, kOpaqueBlack);
    picture.Set(x, h - 1, kOpaqueWhite);
  }
}

// The new-C double picture marks Movie 1's three rightmost columns with
// colour indices 0, 0 and 128 before the separator covers two of them.
void MarkNewCColumns(int32_t* indices, int columns, int paletteSize) {
  const int32_t mark = std::min(128, paletteSize - 1);
  if (columns >= 3) indices[columns - 3] = 0;
  if (columns >= 2) indices[columns - 2] = 0;
  if (columns >= 1) indices[columns - 1] = mark;
}

// Movie 2's variant 0 (tables already built) laid into target at (ox, oy),
// limited to the first w1 columns and h1 rows of the target. keepPlace
// (insert B) reads Movie 2 at the target position instead of at (x, y).
void LayIn(const TParameter& key2, TRender& render2, TPixmap& target, int w1, int h1, int ox,
           int oy, bool keepPlace, int opacity) {
  const TPalette palette(render2);
  if (palette.Empty()) return;
  const TCoder coder = PrepareCoder(key2, render2);
  const int limitX = std::min(w1, target.Width());
  const int limitY = std::min(h1, target.Height());
  // (x, y) runs over Movie 2's pixels; the read position is (x, y) or
  // (x + ox, y + oy), the written one (x + ox, y + oy).
  const int readShiftX = keepPlace ? ox : 0;
  const int readShiftY = keepPlace ? oy : 0;
  const int x0 = std::max({0, -ox, -readShiftX});
  const int x1 = std::min(limitX - ox, render2.Width - readShiftX);
  const int y0 = std::max({0, -oy, -readShiftY});
  const int y1 = std::min(limitY - oy, render2.Height - readShiftY);
  if (x0 >= x1 || y0 >= y1) return;

  const bool replace = opacity == 255;
  // Movie 2's colour with alpha `opacity`: the palette holds alpha 255.
  const uint32_t alphaShift =
      static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(opacity) - 255) << 24);
  // Rows are independent: each band codes into its own index row.
  ParallelRows(y1 - y0, MinBandRows(x1 - x0), [&](int begin, int end) {
    std::vector<int32_t> indices(static_cast<size_t>(x1 - x0));
    for (int y = y0 + begin; y < y0 + end; ++y) {
      const size_t first =
          static_cast<size_t>(y + readShiftY) * render2.Width + (x0 + readShiftX);
      CodeRun(coder, first, x1 - x0, indices.data());
      uint32_t* dst = target.Row(y + oy);
      for (int x = x0; x < x1; ++x) {
        const uint32_t colour = palette[indices[static_cast<size_t>(x - x0)]];
        uint32_t& pixel = dst[x + ox];
        pixel = replace ? colour : BlendArgb(colour + alphaShift, pixel);
      }
    }
  });
}

void ShowLinesOnce(TParameter* key, TRender* render, TParameterAnim* movie, THost& host) {
  int state = 0;
  ShowLines(state, key, render, movie, host);
}

}  // namespace

int PaintCalculated(TParameter* keyframe, TRender* render, THost& host) {
  if (!Ready(keyframe, render, &TRender::Image)) return 0;
  host.Diagnostic("PaintCalculated  ist nicht ShowCalculated");
  PaintCoded(*keyframe, *render, *render->Image, 0, 0, render->Width, render->Height);
  if (std::string* beginner = BeginnerNameSlot()) beginner->clear();
  return 1;
}

int ShowCalculated(TParameter* keyframe, TRender* render, THost& host) {
  if (!Ready(keyframe, render, &TRender::Image)) return 0;
  host.Diagnostic("ShowCalculated");
  TCompositionState& state = Composition();
  SelectColorVariant(*keyframe, 0);
  BuildColorTable(*keyframe, *render);
  ParseLines(*keyframe);
  PaintCalculated(keyframe, render, host);
  state.ShownImage = 1;
  Filter(*render, keyframe->Filter, &host);
  if (state.CompositionMode != -1000) {
    if (!keyframe->Grid.empty()) DrawAllGrids(keyframe, render, host);
    if (!keyframe->TextOutputList.empty()) DrawTextOutput(keyframe, render);
  }
  state.ShownImage = 1;
  state.KeepLeftPicture = false;
  return 1;
}

int ShowDoubleM1(TParameter* keyframe, TRender* render, THost& host) {
  (void)host;
  if (!Ready(keyframe, render, &TRender::ImageD)) return 0;
  TCompositionState& state = Composition();
  state.CompositionMode = 2;
  ParseLines(*keyframe);
  TPixmap& picture = *render->ImageD;
  const int w = render->Width;
  PaintVariant(*keyframe, 0, *render, picture, 0, 0);
  PaintVariant(*keyframe, 1, *render, picture, w - 1, 0);
  DoubleSeparator(picture, w, render->Height);
  state.ShownImage = 2;
  state.KeepLeftPicture = false;
  if (!keyframe->TextOutputList.empty()) DrawTextOutput(keyframe, render);
  return 1;
}

int ShowFourfoldM1(TParameter* keyframe, TRender* render, THost& host) {
  (void)host;
  if (!Ready(keyframe, render, &TRender::ImageV)) return 0;
  TCompositionState& state = Composition();
  state.CompositionMode = 4;
  ParseLines(*keyframe);
  TPixmap& picture = *render->ImageV;
  const int w = render->Width;
  const int h = render->Height;
  PaintVariant(*keyframe, 0, *render, picture, 0, 0);
  PaintVariant(*keyframe, 1, *render, picture, w - 1, 0);
  PaintVariant(*keyframe, 2, *render, picture, 0, h - 1);
  RebuildColorLists(*keyframe);
  PaintVariant(*keyframe, 3, *render, picture, w - 1, h - 1);
  FourfoldSeparators(picture, w, h);
  state.ShownImage = 4;
  state.KeepLeftPicture = false;
  if (!keyframe->TextOutputList.empty()) DrawTextOutput(keyframe, render);
  return 1;
}

namespace {

// The common course of the two double pictures of Movie 1 and Movie 2.
int DoubleTwoMovies(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
                    TParameterAnim* movie1, TParameterAnim* movie2, THost& host, bool newC) {
  if (!Ready(key1, render1, &TRender::ImageD) || !key2 || !render2 || !HasTables(*render2) ||
      !movie1 || !movie2) {
    return 0;
  }
  TCompositionState& state = Composition();
  if (newC) {
    state.ShownImage = 2;
    state.KeepLeftPicture = true;
  } else {
    state.CompositionMode = 22;
  }
  const int w1 = render1->Width;
  PaintVariant(*key1, 0, *render1, *render1->ImageD, 0, 0, newC ? MarkNewCColumns : nullptr);
  state.ShownImage = 2;
  ShowLinesOnce(key1, render1, movie1, host);
  // ShowLines may have replaced ImageD by its blurred copy.
  if (!render1->ImageD) return 1;
  TPixmap& picture = *render1->ImageD;
  PaintVariant(*key2, 0, *render2, picture, w1 - 1, 0);
  DoubleSeparator(picture, w1, render1->Height);
  state.ShownImage = 2;
  if (!newC) state.KeepLeftPicture = false;
  state.CompositionMode = 222;
  if (!newC) DropPendingGridChange();
  ShowLinesOnce(key2, render1, movie2, host);
  return 1;
}

}  // namespace

int ShowDoubleM1M2(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
                   TParameterAnim* movie1, TParameterAnim* movie2, THost& host) {
  return DoubleTwoMovies(key1, render1, key2, render2, movie1, movie2, host, false);
}

int ShowDoubleNewC(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
                   TParameterAnim* movie1, TParameterAnim* movie2, THost& host) {
  return DoubleTwoMovies(key1, render1, key2, render2, movie1, movie2, host, true);
}

int ShowFourfoldM1M2(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
                     THost& host) {
  (void)host;
  if (!Ready(key1, render1, &TRender::ImageV) || !key2 || !render2 || !HasTables(*render2)) {
    return 0;
  }
  TCompositionState& state = Composition();
  state.CompositionMode = 44;
  TPixmap& picture = *render1->ImageV;
  const int w1 = render1->Width;
  const int h1 = render1->Height;
  PaintVariant(*key1, 0, *render1, picture, 0, 0);
  PaintVariant(*key2, 0, *render2, picture, w1 - 1, 0);
  PaintVariant(*key1, 1, *render1, picture, 0, h1 - 1);
  // Movie 1's texts belong to the fourfold picture, whatever was shown
  // before; printed before Movie 2's lower quadrant as in a repeated show.
  if (!key1->TextOutputList.empty()) {
    state.ShownImage = 4;
    DrawTextOutput(key1, render1);
  }
  SelectColorVariant(*key2, 1);
  BuildColorTable(*key2, *render2);
  PaintCoded(*key2, *render2, picture, w1 - 1, h1 - 1, w1, h1);
  FourfoldSeparators(picture, w1, h1);
  state.ShownImage = 4;
  state.KeepLeftPicture = false;
  if (!key2->TextOutputList.empty()) DrawTextOutput(key2, render1);
  return 1;
}

int ShowInsert(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
               TParameterAnim* movie1, TParameterAnim* movie2, THost& host) {
  if (!Ready(key1, render1, &TRender::Image) || !key2 || !render2 || !HasTables(*render2) ||
      !movie1 || !movie2) {
    return 0;
  }
  TCompositionState& state = Composition();
  const int mode = state.CompositionMode;
  const int w1 = render1->Width;
  const int h1 = render1->Height;
  int ox = state.InsertPosX > 0 ? state.InsertPosX - 1 : state.InsertPosX;
  int oy = state.InsertPosY > 0 ? state.InsertPosY - 1 : state.InsertPosY;
  ox = std::min(ox, w1 - 1);
  oy = std::min(oy, h1 - 1);

  PaintVariant(*key1, 0, *render1, *render1->Image, 0, 0);
  state.ShownImage = 1;
  ShowLinesOnce(key1, render1, movie1, host);

  SelectColorVariant(*key2, 0);
  BuildColorTable(*key2, *render2);
  // Read after Movie 1's filter: it stores its level in the same variable.
  if (render1->Image) {
    LayIn(*key2, *render2, *render1->Image, w1, h1, ox, oy, mode == 0, state.InsertOpacity);
  }

  state.ShownImage = 1;
  state.KeepLeftPicture = false;
  if (mode == -1 || mode == -12) {
    state.CompositionMode = -111;
  } else if (mode == 0) {
    state.CompositionMode = 101;
  }
  ShowLinesOnce(key2, render1, movie2, host);
  state.CompositionMode = mode;
  return 1;
}

int Redisplay(TParameter* key1, TRender* render1, TParameter* key2, TRender* render2,
              TParameterAnim* movie1, TParameterAnim* movie2, THost& host) {
  TCompositionState& state = Composition();
  if (state.KeepLeftPicture) state.CompositionMode = 3;
  switch (state.CompositionMode) {
    case 1: return ShowCalculated(key1, render1, host);
    case 2: return ShowDoubleM1(key1, render1, host);
    case 3:
    case 21: return ShowDoubleNewC(key1, render1, key2, render2, movie1, movie2, host);
    case 4: return ShowFourfoldM1(key1, render1, host);
    case 22:
    case 222: return ShowDoubleM1M2(key1, render1, key2, render2, movie1, movie2, host);
    case 44: return ShowFourfoldM1M2(key1, render1, key2, render2, host);
    case -1:
    case 0:
    case -12: return ShowInsert(key1, render1, key2, render2, movie1, movie2, host);
    default: return 0;
  }
}

}  // namespace ork
