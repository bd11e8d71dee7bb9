#include "engine/render.h"

#include <algorithm>

namespace ork {

namespace {
TOrbitPictureHook g_orbit_picture_hook = nullptr;
}  // namespace

void SetOrbitPictureHook(TOrbitPictureHook hook) { g_orbit_picture_hook = hook; }
TOrbitPictureHook OrbitPictureHook() { return g_orbit_picture_hook; }

void TRender::Init(const TParameter& keyframe) {
  Width = std::max(keyframe.OutputWidth, 0);
  Height = std::max(keyframe.OutputHeight, 0);
  colz = 4096;
  colzh = colz / 2;
  colzv = colz / 4;
  PaintOffsetX = 0;
  PaintOffsetY = 0;
  Image = std::make_shared<TPixmap>(Width, Height);
  ImageD = std::make_shared<TPixmap>(2 * Width, Height);
  ImageV = std::make_shared<TPixmap>(2 * Width, 2 * Height);
  const size_t n = static_cast<size_t>(Width) * static_cast<size_t>(Height);
  // Fresh vectors rather than resize: buffers are replaced as a whole.
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
  const size_t dyn = static_cast<size_t>(std::max(keyframe.ianzmax, 0)) + 3;
  DynX.assign(dyn, 0.0);
  DynY.assign(dyn, 0.0);
}

TRender TRender::Copy() const { return *this; }

}  // namespace ork
