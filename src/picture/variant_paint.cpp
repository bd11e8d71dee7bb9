#include "picture/variant_paint.h"

#include <algorithm>

#include "color/coding.h"
#include "color/color_table.h"
#include "engine/row_bands.h"
#include "engine/worker_pool.h"
#include "model/list_syntax.h"
#include "picture/argb.h"

namespace ork {

TPalette::TPalette(const TRender& render) {
  if (!render.ColR || !render.ColG || !render.ColB) return;
  const TColorTable& r = *render.ColR;
  const TColorTable& g = *render.ColG;
  const TColorTable& b = *render.ColB;
  const size_t n = std::min({r.size(), g.size(), b.size()});
  argb_.resize(n);
  for (size_t i = 0; i < n; ++i) argb_[i] = ComposeArgb(255, r[i], g[i], b[i]);
}

bool PaintCoded(const TParameter& keyframe, TRender& source, TPixmap& target, int dx, int dy,
                int columns, int rows, TRowIndexHook hook) {
  const TPalette palette(source);
  if (palette.Empty()) return false;
  const TCoder coder = PrepareCoder(keyframe, source);
  columns = std::min(columns, source.Width);
  rows = std::min(rows, source.Height);
  // Source columns whose target column lies inside the picture.
  const int x0 = std::max(0, -dx);
  const int x1 = std::min(columns, target.Width() - dx);
  const int y0 = std::max(0, -dy);
  const int y1 = std::min(rows, target.Height() - dy);
  if (columns <= 0 || x0 >= x1 || y0 >= y1) return true;

  // Rows are independent: each band codes into its own index row.
  ParallelRows(y1 - y0, MinBandRows(columns), [&](int begin, int end) {
    std::vector<int32_t> indices(static_cast<size_t>(columns));
    for (int y = y0 + begin; y < y0 + end; ++y) {
      const size_t first = static_cast<size_t>(y) * source.Width;
      if (hook) {
        CodeRun(coder, first, columns, indices.data());
        hook(indices.data(), columns, palette.Size());
      } else {
        CodeRun(coder, first + x0, x1 - x0, indices.data() + x0);
      }
      uint32_t* dst = target.Row(y + dy);
      for (int x = x0; x < x1; ++x) dst[x + dx] = palette[indices[static_cast<size_t>(x)]];
    }
  });
  return true;
}

bool PaintVariant(TParameter& keyframe, int k, TRender& source, TPixmap& target, int dx, int dy,
                  TRowIndexHook hook) {
  SelectColorVariant(keyframe, k);
  BuildColorTable(keyframe, source);
  return PaintCoded(keyframe, source, target, dx, dy, source.Width, source.Height, hook);
}

}  // namespace ork
