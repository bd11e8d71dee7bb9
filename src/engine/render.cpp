#include "engine/render.h"

#include <algorithm>
#include <cstdio>

#include "engine/allocation.h"
#include "engine/texts.h"

namespace ork {

namespace {
TOrbitPictureHook g_orbit_picture_hook = nullptr;

constexpr uint32_t kBlack = 0xFF000000u;

// Per pixel: five double arrays, two int arrays and the single picture.
constexpr double kBytesPerPixel = 5 * sizeof(double) + 2 * sizeof(int32_t) + sizeof(uint32_t);

std::string SizeText(double width, double height) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f x %.0f", width, height);
  return buf;
}

// A picture of that size that nobody else holds (no Copy, no picture handed
// on) is cleared to black in place; true then.
bool ClearIfOwned(const TPixmapPtr& picture, int width, int height) {
  if (!picture || picture.use_count() != 1 || picture->Width() != width ||
      picture->Height() != height) {
    return false;
  }
  picture->Fill(kBlack);
  return true;
}
}  // namespace

void SetOrbitPictureHook(TOrbitPictureHook hook) { g_orbit_picture_hook = hook; }
TOrbitPictureHook OrbitPictureHook() { return g_orbit_picture_hook; }

double RenderBytes(double width, double height) {
  return width * height * kBytesPerPixel + 3.0 * 4096 * sizeof(int);
}

void TRender::ClearArrays() {
  for (auto* a : {&bildX, &bildY, &bildP, &bildT, &bildZ}) std::fill(a->begin(), a->end(), 0.0);
  for (auto* a : {&ibild, &zycbild}) std::fill(a->begin(), a->end(), 0);
}

void TRender::Init(const TParameter& keyframe) {
  const int w = std::max(keyframe.OutputWidth, 0);
  const int h = std::max(keyframe.OutputHeight, 0);
  const double bytes = RenderBytes(w, h);
  const std::string purpose = Tr(engine_texts::kPictureBuffers) + SizeText(w, h);
  const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
  const bool same = w == Width && h == Height && bildX.size() == n && bildY.size() == n &&
                    bildP.size() == n && bildT.size() == n && bildZ.size() == n &&
                    ibild.size() == n && zycbild.size() == n;
  // Buffers of the same size are reused and need no new memory.
  CheckAllocation(bytes, purpose, !same);
  // Everything new is had before anything old is given up, so that a
  // picture the machine cannot hold leaves the previous one in place.
  TBigVector<double> x, y, p, t, z;
  TBigVector<int32_t> counts, cycles;
  TPixmapPtr image;
  std::shared_ptr<TColorTable> red, green, blue;
  try {
    if (!same) {
      // Created at their size: zero without being written (big_buffer.h).
      x = TBigVector<double>(n);
      y = TBigVector<double>(n);
      p = TBigVector<double>(n);
      t = TBigVector<double>(n);
      z = TBigVector<double>(n);
      counts = TBigVector<int32_t>(n);
      cycles = TBigVector<int32_t>(n);
    }
    if (!same || !Image || Image.use_count() != 1 || Image->Width() != w || Image->Height() != h)
      image = std::make_shared<TPixmap>(w, h);
    red = std::make_shared<TColorTable>(4096, 0);
    green = std::make_shared<TColorTable>(4096, 0);
    blue = std::make_shared<TColorTable>(4096, 0);
  } catch (const std::bad_alloc&) {
    throw TAllocationError(bytes, purpose);
  }
  // From here on nothing allocates.
  if (same) {
    ClearArrays();
  } else {
    bildX.swap(x);
    bildY.swap(y);
    bildP.swap(p);
    bildT.swap(t);
    bildZ.swap(z);
    ibild.swap(counts);
    zycbild.swap(cycles);
    fresh_pages = true;
  }
  if (image)
    Image.swap(image);
  else
    Image->Fill(kBlack);
  Width = w;
  Height = h;
  colz = 4096;
  colzh = colz / 2;
  colzv = colz / 4;
  PaintOffsetX = 0;
  PaintOffsetY = 0;
  DynX = std::vector<double>();
  DynY = std::vector<double>();
  // The double and fourfold pictures are kept for the same size only.
  if (!ClearIfOwned(ImageD, 2 * Width, Height)) ImageD.reset();
  if (!ClearIfOwned(ImageV, 2 * Width, 2 * Height)) ImageV.reset();
  ColR.swap(red);
  ColG.swap(green);
  ColB.swap(blue);
}

namespace {
const TPixmapPtr& NeedPicture(TPixmapPtr& picture, int width, int height, const TText2& what) {
  if (picture || width <= 0 || height <= 0) return picture;
  const double bytes = static_cast<double>(width) * height * sizeof(uint32_t);
  const std::string purpose = Tr(what) + SizeText(width, height);
  CheckAllocation(bytes, purpose);
  try {
    picture = std::make_shared<TPixmap>(width, height);
  } catch (const std::bad_alloc&) {
    throw TAllocationError(bytes, purpose);
  }
  return picture;
}
}  // namespace

const TPixmapPtr& TRender::NeedImageD() {
  return NeedPicture(ImageD, 2 * Width, Height, engine_texts::kDoublePicture);
}

const TPixmapPtr& TRender::NeedImageV() {
  return NeedPicture(ImageV, 2 * Width, 2 * Height, engine_texts::kFourfoldPicture);
}

TRender TRender::Copy() const { return *this; }

}  // namespace ork
