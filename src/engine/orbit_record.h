// The orbit record of a render object: the recording that the picture loop
// hands to the iteration in dynamics mode, writing into DynX and DynY.
#pragma once

#include <cstddef>

#include "engine/iteration.h"
#include "engine/render.h"
#include "model/parameter.h"

namespace ork {

// Records into render.DynX/DynY. Nothing is allocated until Start. The
// arrays keep what they hold; Start makes them hold a first few points (so
// that DynX[0] and DynY[0] exist even when nothing is recorded) and they
// grow, doubling, as the orbit needs, up to min(Max_Iterat + 1,
// TRender::kMaxOrbitPoints) points. Start and growing throw
// TAllocationError when the arrays cannot be had. The render object must
// outlive the recording.
class TRenderOrbitRecording : public TOrbitRecording {
 public:
  TRenderOrbitRecording(TRender& render, const TParameter& keyframe);
  void Start();

 private:
  static void Grow(TOrbitRecording& recording, size_t it);
  void Reserve(size_t cells);

  TRender& render_;
  size_t most_;  // cells the arrays may reach (points + 1)
};

}  // namespace ork
