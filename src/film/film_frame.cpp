#include "film/film_frame.h"

#include "color/color_table.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "picture/grid_state.h"
#include "picture/overlay_calls.h"

namespace ork {

void BeginFilmFrame(TParameter& p) {
  SelectColorVariant(p, 0);
  ParseGridSizes(p.GridSizes);
  const double dX = GridSettings().dX;
  int& mode = GridState().GridAutoMode;
  if (dX > 0) mode = 1;
  else if (dX < -1) mode = 2;
  else if (dX < 0) mode = 0;
}

void ComposeFilmFrame(int mode, TParameter& p, TRender& render1, TParameter* q, TRender& render2,
                      TParameterAnim& film1, TParameterAnim& film2, int& linesState, THost& host) {
  TCompositionState& comp = Composition();
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
  if (!q) return;
  switch (mode) {
    case 22: ShowDoubleM1M2(&p, &render1, q, &render2, &film1, &film2, host); break;
    case 21: ShowDoubleNewC(&p, &render1, q, &render2, &film1, &film2, host); break;
    case 44: ShowFourfoldM1M2(&p, &render1, q, &render2, host); break;
    default: ShowInsert(&p, &render1, q, &render2, &film1, &film2, host); break;
  }
}

}  // namespace ork
