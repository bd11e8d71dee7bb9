#include "color/blur.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

#include "color/beginner_name.h"
#include "color/farbe.h"
#include "color/texts.h"
#include "engine/row_bands.h"
#include "engine/worker_pool.h"
#include "model/number_format.h"
#include "model/process_state.h"

namespace ork {

namespace {

// Planar float channels of one picture row: alpha, red, green, blue, each
// `width` floats, each pixel read by ReadFarbe.
void Unpack(const uint32_t* row, int width, float* out) {
  float* a = out;
  float* r = out + width;
  float* g = out + 2 * width;
  float* b = out + 3 * width;
  for (int x = 0; x < width; ++x) {
    const TFarbe c = ReadFarbe(row[x]);
    a[x] = c.Alpha;
    r[x] = c.Rot;
    g[x] = c.Gruen;
    b[x] = c.Blau;
  }
}

// One channel of one row, columns lo..hi: centre M, rows above U and below D.
template <bool kDiagonal>
void BlurChannel(const float* U, const float* M, const float* D, int lo, int hi, float w,
                 float* out) {
  for (int x = lo; x <= hi; ++x) {
    const float h = MixChannel(M[x - 1], M[x + 1], 0.5f);
    const float v = MixChannel(U[x], D[x], 0.5f);
    float s = MixChannel(h, v, 0.5f);
    if constexpr (kDiagonal) {
      const float g1 = MixChannel(U[x - 1], D[x + 1], 0.5f);
      const float g2 = MixChannel(U[x + 1], D[x - 1], 0.5f);
      s = MixChannel(s, MixChannel(g1, g2, 0.5f), 0.5f);
    }
    const float o = MixChannel(M[x], s, w);
    out[x] = (o > 255.0f || o < 0.0f) ? 255.0f : o;
  }
}

// The columns and strength of one run.
struct TBlurRange {
  int lo = 1, hi = 0;  // columns blurred
  float w = 0;         // weight of the neighbourhood
  bool diagonal = false;
};

// Blurs rows [begin, end) of `picture`, reading only the picture as it
// was: rows of the band are unpacked into a ring of three before they are
// overwritten, and the band's first and last rows, which the neighbouring
// bands read, go to `edges` (two rows, columns lo..hi) instead, for the
// caller to put in place once every band is done.
void BlurBand(TPixmap& picture, int begin, int end, const TBlurRange& range, uint32_t* edges) {
  const int width = picture.Width();
  const size_t rowFloats = static_cast<size_t>(4) * width;
  std::vector<float> ring(3 * rowFloats);
  std::vector<float> out(rowFloats);
  auto slot = [&](int y) { return ring.data() + static_cast<size_t>(y % 3) * rowFloats; };
  Unpack(picture.Row(begin - 1), width, slot(begin - 1));
  Unpack(picture.Row(begin), width, slot(begin));
  const int lo = range.lo, hi = range.hi;
  for (int y = begin; y < end; ++y) {
    Unpack(picture.Row(y + 1), width, slot(y + 1));
    const float* up = slot(y - 1);
    const float* mid = slot(y);
    const float* down = slot(y + 1);
    for (int ch = 0; ch < 4; ++ch) {
      const size_t o = static_cast<size_t>(ch) * width;
      if (range.diagonal) {
        BlurChannel<true>(up + o, mid + o, down + o, lo, hi, range.w, out.data() + o);
      } else {
        BlurChannel<false>(up + o, mid + o, down + o, lo, hi, range.w, out.data() + o);
      }
    }
    const float* a = out.data();
    const float* r = a + width;
    const float* g = a + 2 * width;
    const float* b = a + 3 * width;
    uint32_t* dst = y == begin ? edges : y == end - 1 ? edges + width : picture.Row(y);
    // Channels are 0..255 here, so truncation packs as TFarbe::ARGB_Color.
    for (int x = lo; x <= hi; ++x) {
      dst[x] = (static_cast<uint32_t>(a[x]) << 24) | (static_cast<uint32_t>(r[x]) << 16) |
               (static_cast<uint32_t>(g[x]) << 8) | static_cast<uint32_t>(b[x]);
    }
  }
}

}  // namespace

float BlurWeight(int level) {
  switch (level) {
    case 1:
    case 2: return 0.5f;
    case 3: return 0.62f;
    case 4: return 0.75f;
    case 5: return 0.85f;
    default: return 0.0f;
  }
}

TPixmapPtr BlurPixmap(const TPixmap& source, int level, int compositionMode) {
  auto result = std::make_shared<TPixmap>(source);
  BlurInPlace(*result, level, compositionMode);
  return result;
}

void BlurInPlace(TPixmap& picture, int level, int compositionMode) {
  TBlurRange range;
  range.w = BlurWeight(level);
  range.diagonal = level >= 2;
  const int width = picture.Width();
  const int height = picture.Height();
  if (range.w == 0.0f || width < 3 || height < 3) return;
  const int half = (width - 1) / 2;
  range.lo = 1;
  range.hi = width - 2;
  if (compositionMode == 2 || compositionMode == 22) {
    range.hi = half - 1;
  } else if (compositionMode == 222) {
    range.lo = half + 1;
  }
  if (range.lo > range.hi) return;

  // Rows 1 .. height - 2 in bands; each band's edge rows are put in place
  // after all bands have read them.
  struct TEdges {
    int first, last;
    std::vector<uint32_t> rows;
  };
  std::mutex mutex;
  std::vector<TEdges> edges;
  ParallelRows(height - 2, MinBandRows(width), [&](int begin, int end) {
    TEdges band{begin + 1, end, std::vector<uint32_t>(2 * static_cast<size_t>(width))};
    BlurBand(picture, band.first, band.last + 1, range, band.rows.data());
    std::lock_guard<std::mutex> lock(mutex);
    edges.push_back(std::move(band));
  });
  for (const TEdges& band : edges) {
    const size_t n = static_cast<size_t>(range.hi - range.lo + 1);
    std::copy_n(band.rows.data() + range.lo, n, picture.Row(band.first) + range.lo);
    if (band.last != band.first) {
      std::copy_n(band.rows.data() + width + range.lo, n, picture.Row(band.last) + range.lo);
    }
  }
}

TPixmapPtr BlurPixmap(const TPixmap& source) {
  return BlurPixmap(source, Composition().InsertOpacity, Composition().CompositionMode);
}

bool Filter(TRender& render, const std::string& text, THost* host) {
  if (text.empty()) return false;
  const int level = TextToInt(text);
  // The level shares its variable with the insert opacity, also when it is
  // not a level; the command that removes the filter sets it back.
  Composition().InsertOpacity = level;
  if (level < 1 || level > 5) return false;
  const int shown = Composition().ShownImage;
  TPixmapPtr* picture = nullptr;
  if (shown < 2) {
    picture = &render.Image;
  } else if (shown == 2) {
    picture = &render.ImageD;
  } else {
    return false;
  }
  if (!*picture || (*picture)->Empty()) return false;
  BlurInPlace(**picture, level, Composition().CompositionMode);
  if (std::string* beginner = BeginnerNameSlot(); beginner && *beginner == "1") *beginner = "2";
  if (host) {
    host->StatusText(Tr(color_texts::kFilterPrefix) + std::to_string(level) +
                     Tr(color_texts::kFilterApplied));
  }
  return true;
}

}  // namespace ork
