#include "engine/orbit_record.h"

#include <algorithm>
#include <string>

#include "engine/allocation.h"
#include "engine/texts.h"

namespace ork {

namespace {
// Cells made ready before the first point: enough for most orbits.
constexpr size_t kFirstCells = 1024;
}  // namespace

TRenderOrbitRecording::TRenderOrbitRecording(TRender& render, const TParameter& keyframe)
    : render_(render) {
  // An iteration ends at the latest in iteration Max_Iterat + 1, after at
  // least one point.
  const long long points =
      std::clamp(static_cast<long long>(keyframe.ianzmax) + 1, 1LL,
                 static_cast<long long>(TRender::kMaxOrbitPoints));
  most_ = static_cast<size_t>(points) + 1;
  grow = &Grow;
}

void TRenderOrbitRecording::Start() { Reserve(std::min(most_, kFirstCells)); }

void TRenderOrbitRecording::Grow(TOrbitRecording& recording, size_t it) {
  // Only installed by the constructor above, on this class.
  auto& self = static_cast<TRenderOrbitRecording&>(recording);
  self.Reserve(std::min(self.most_, std::max(it + 1, 2 * self.size)));
}

void TRenderOrbitRecording::Reserve(size_t cells) {
  std::vector<double>& dx = render_.DynX;
  std::vector<double>& dy = render_.DynY;
  if (std::min(dx.size(), dy.size()) < cells) {
    const double bytes = 2.0 * static_cast<double>(cells) * sizeof(double);
    const std::string purpose = Tr(engine_texts::kOrbitRecord) + std::to_string(cells - 1) +
                                Tr(engine_texts::kPoints);
    CheckAllocation(bytes, purpose);
    try {
      dx.resize(std::max(dx.size(), cells), 0.0);
      dy.resize(std::max(dy.size(), cells), 0.0);
    } catch (const std::bad_alloc&) {
      throw TAllocationError(bytes, purpose);
    }
  }
  x = dx.data();
  y = dy.data();
  size = std::min(dx.size(), dy.size());
}

}  // namespace ork
