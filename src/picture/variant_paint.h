// Painting coded pixels: a render object's buffers, coded with the
// keyframe's current colour values and looked up in its colour tables,
// written into a picture at an offset. The building block of every
// composition.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/pixmap.h"
#include "engine/render.h"
#include "model/parameter.h"

namespace ork {

// The render object's colour tables as opaque ARGB colours:
// ComposeArgb(255, ColR[i], ColG[i], ColB[i]) for every entry the three
// tables share. Empty when a table is missing.
class TPalette {
 public:
  explicit TPalette(const TRender& render);
  bool Empty() const { return argb_.empty(); }
  int Size() const { return static_cast<int>(argb_.size()); }
  uint32_t operator[](int i) const { return argb_[static_cast<size_t>(i)]; }

 private:
  std::vector<uint32_t> argb_;
};

// Changes the colour indices of one coded row (columns 0 .. columns - 1)
// before they are looked up; indices must stay below the palette size.
using TRowIndexHook = void (*)(int32_t* indices, int columns, int paletteSize);

// Codes the pixels of `source` in columns 0 .. columns - 1 and rows
// 0 .. rows - 1 (each limited to the source's size) with the keyframe's
// current values and the tables as they are, and writes pixel (x, y) to
// (x + dx, y + dy) of target; pixels landing outside target are skipped.
// Returns false (nothing written) when the tables are missing.
bool PaintCoded(const TParameter& keyframe, TRender& source, TPixmap& target, int dx, int dy,
                int columns, int rows, TRowIndexHook hook = nullptr);

// Variant k of a movie at (dx, dy): makes variant k current
// (SelectColorVariant), rebuilds the source's colour tables
// (BuildColorTable) and paints all its pixels with PaintCoded.
bool PaintVariant(TParameter& keyframe, int k, TRender& source, TPixmap& target, int dx, int dy,
                  TRowIndexHook hook = nullptr);

}  // namespace ork
