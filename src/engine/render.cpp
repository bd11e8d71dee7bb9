#include "engine/render.h"

#include <algorithm>
#include <cstdio>

#include "engine/allocation.h"
#include "engine/texts.h"

namespace ork {

namespace {
TOrbitPictureHook g_orbit_picture_hook = nullptr;

// Per pixel: five double arrays, two int arrays and the single picture, and
// the double and fourfold pictures.
constexpr double kBytesPerPixel = 5 * sizeof(double) + 2 * sizeof(int32_t) + 7 * sizeof(uint32_t);

std::string SizeText(double width, double height) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f x %.0f", width, height);
  return buf;
}
}  // namespace

void SetOrbitPictureHook(TOrbitPictureHook hook) { g_orbit_picture_hook = hook; }
TOrbitPictureHook OrbitPictureHook() { return g_orbit_picture_hook; }

double RenderBytes(double width, double height) {
  return width * height * kBytesPerPixel + 3.0 * 4096 * sizeof(int);
}

void TRender::Release() {
  Width = Height = 0;
  Image.reset();
  ImageD.reset();
  ImageV.reset();
  bildX = {};
  bildY = {};
  bildP = {};
  bildT = {};
  bildZ = {};
  ibild = {};
  zycbild = {};
  ColR.reset();
  ColG.reset();
  ColB.reset();
  DynX = {};
  DynY = {};
}

void TRender::Init(const TParameter& keyframe) {
  const int w = std::max(keyframe.OutputWidth, 0);
  const int h = std::max(keyframe.OutputHeight, 0);
  const double bytes = RenderBytes(w, h);
  const std::string purpose = Tr(engine_texts::kPictureBuffers) + SizeText(w, h);
  CheckAllocation(bytes, purpose);
  // Buffers of another size go first, so that old and new never coexist.
  if (w != Width || h != Height) Release();
  Width = w;
  Height = h;
  colz = 4096;
  colzh = colz / 2;
  colzv = colz / 4;
  PaintOffsetX = 0;
  PaintOffsetY = 0;
  DynX = {};
  DynY = {};
  try {
    Image = std::make_shared<TPixmap>(Width, Height);
    ImageD = std::make_shared<TPixmap>(2 * Width, Height);
    ImageV = std::make_shared<TPixmap>(2 * Width, 2 * Height);
    const size_t n = static_cast<size_t>(Width) * static_cast<size_t>(Height);
    bildX.assign(n, 0.0);
    bildY.assign(n, 0.0);
    bildP.assign(n, 0.0);
    bildT.assign(n, 0.0);
    bildZ.assign(n, 0.0);
    ibild.assign(n, 0);
    zycbild.assign(n, 0);
    ColR = std::make_shared<TColorTable>(colz, 0);
    ColG = std::make_shared<TColorTable>(colz, 0);
    ColB = std::make_shared<TColorTable>(colz, 0);
  } catch (const std::bad_alloc&) {
    Release();
    throw TAllocationError(bytes, purpose);
  }
}

TRender TRender::Copy() const { return *this; }

}  // namespace ork
