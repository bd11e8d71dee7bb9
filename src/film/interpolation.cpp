#include "film/interpolation.h"

#include <cmath>
#include <cstdint>

#include "film/texts.h"
#include "model/number_format.h"

namespace ork {

namespace {

void ShowSignChange(double start, double end, THost& host) {
  host.Information(Tr(film_texts::kSignChange1) + RealText17(start) + " --> " + RealText17(end) +
                   Tr(film_texts::kSignChange2));
}

bool UsableFactor(double factor) { return std::isfinite(factor) && factor > 0; }

// Reads and writes one interpolated field of a keyframe by parameter number.
template <typename Key>
auto RealField(Key& key, int index) -> decltype(&key.bry) {
  switch (index) {
    case 4: return &key.bry;
    case 5: return &key.vsx;
    case 6: return &key.vsy;
    case 7: return &key.Degree;
    case 9: return &key.CCx;
    case 10: return &key.CCy;
    case 11: return &key.Param1;
    case 12: return &key.Param2;
    case 13: return &key.Param3;
    case 14: return &key.par;
    case 15: return &key.Accurate;
    default: return nullptr;
  }
}

int IntValue(const TParameter& key, int index) {
  switch (index) {
    case 16: return key.ianzmax;
    case 17: return RealToInt(key.maxabs);
    case 18: return key.zyctest;
    case 20: return key.Cfarbtab[0];
    case 21: return key.CColShift[0];
    default: return 0;
  }
}

void SetIntValue(TParameter& key, int index, int v) {
  switch (index) {
    case 16: key.ianzmax = v; break;
    case 17: key.maxabs = v; break;
    case 18: key.zyctest = v; break;
    case 20: key.Cfarbtab[0] = v; key.farbtab = v; break;
    case 21: key.CColShift[0] = v; key.ColShift = v; break;
    default: break;
  }
}

}  // namespace

bool IsIntegerParameter(int index) {
  return index == 16 || index == 17 || index == 18 || index == 20 || index == 21;
}

double ParameterValue(const TParameter& key, int index) {
  if (IsIntegerParameter(index)) return IntValue(key, index);
  const double* field = RealField(key, index);
  return field ? *field : 0.0;
}

double FramesForFactor(double factor, double running, int mark, double start, double end,
                       THost& host) {
  if (mark != 1) return running;
  if (start == 0 || end == 0) {
    host.Information(Tr(film_texts::kZeroValue));
    return 50;
  }
  const double ratio = end / start;
  if (ratio <= 0) ShowSignChange(start, end, host);
  const double r = std::fabs(ratio);
  double f = std::fabs(factor);
  if (r < 1 && f > 1) f = 1 / f;
  if (r >= 1 && f < 1) f = 1 / f;
  // A factor of 1 cannot change a value: it implies no frame count (and the
  // division below would be unbounded).
  if (r == 1 || f == 1) return running;
  double n = std::log(r) / std::log(f);
  if (!(n >= 1)) n = 1;
  if (n > kMaxFilmFrames) n = kMaxFilmFrames;
  return n > running ? n : running;
}

void ComputeFactor(TFactorTable& table, double h,
                   const std::array<int, TParameter::kParamIndices>& marks, double start,
                   double end, int index, THost& host) {
  if (index < 0 || index >= static_cast<int>(table.size())) return;
  if (marks[index] != 1 || start == 0 || end == 0) return;
  const double ratio = end / start;
  if (ratio <= 0) {
    ShowSignChange(start, end, host);
    return;
  }
  if (!(h > 0)) return;
  table[index] = std::pow(ratio, 1 / h);
}

double InterpolateReal(double x, int M, int P, double start, double end, double previous,
                       const TFactorTable& table, int index, bool& same) {
  double v = 0;
  if (M > 0) {
    const double factor = table[index];
    v = UsableFactor(factor) ? previous * factor : start + x * (end - start);
  }
  if (P > 0) v = start + x * (end - start);
  if (M + P == 0) v = start;
  if (std::fabs(v - previous) > 0) same = false;
  return v;
}

int InterpolateInt(double x, int M, int P, int start, int end, int previous,
                   const TFactorTable& table, int index, bool& same) {
  const auto linear = [&] {
    const int64_t step = RealToInt((static_cast<double>(end) - start) * x);
    return RealToInt(static_cast<double>(start + step));
  };
  int v = 0;
  if (M > 0) {
    const double factor = table[index];
    v = UsableFactor(factor) ? RealToInt(previous * factor) : linear();
  }
  if (P > 0) {
    v = linear();
    if (P > 1) {
      const int r = P % 10;
      const int m = (P - r) / 10;
      if (m > 0 && v % m != r) v = previous;
    }
  }
  if (M + P == 0) v = start;
  if (v != previous) same = false;
  return v;
}

void InterpolateFrame(double x, const TParameter& e, const TParameter& f, TParameter& g,
                      const TParameter& previous, const TFactorTable& table, bool& same) {
  for (int index : kInterpolatedParameters) {
    const int M = e.InterpM[index];
    const int P = e.InterpP[index];
    if (IsIntegerParameter(index)) {
      SetIntValue(g, index,
                  InterpolateInt(x, M, P, IntValue(e, index), IntValue(f, index),
                                 IntValue(previous, index), table, index, same));
    } else {
      *RealField(g, index) =
          InterpolateReal(x, M, P, ParameterValue(e, index), ParameterValue(f, index),
                          ParameterValue(previous, index), table, index, same);
    }
  }
  g.brx = e.OutputHeight != 0 ? g.bry * e.OutputWidth / e.OutputHeight : g.bry;
}

}  // namespace ork
