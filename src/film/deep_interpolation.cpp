#include "film/deep_interpolation.h"

#include <cmath>

#include "engine/deep/deep_coordinates.h"
#include "film/texts.h"
#include "model/long_coordinates.h"
#include "model/number_format.h"

namespace ork {

namespace {

using deep::TBigFloat;

TBigFloat LongValue(const TParameter& k, const TLongCoordinate& c) {
  return deep::LongOr(k.*c.Text, k.*c.Value);
}

// a * (b / a)^t for a and b of one sign (on the magnitudes for two negative
// values, whose double factor is positive too).
TBigFloat Geometric(const TBigFloat& a, const TBigFloat& b, double t) {
  if (a.Sign() < 0 && b.Sign() < 0) return -deep::GeometricLerp(-a, -b, t);
  return deep::GeometricLerp(a, b, t);
}

}  // namespace

bool LongInterval(const TParameter& e, const TParameter& f) {
  return e.Deep != 0 || f.Deep != 0 || HasLongCoordinates(e) || HasLongCoordinates(f);
}

bool IsLongParameter(int index) { return LongCoordinateOfParameter(index) != nullptr; }

double LongFramesForFactor(double factor, double running, int mark, const TParameter& e,
                           const TParameter& f, int index, THost& host) {
  const TLongCoordinate* c = LongCoordinateOfParameter(index);
  if (!c) return running;
  if (mark != 1) return running;
  const TBigFloat a = LongValue(e, *c), b = LongValue(f, *c);
  if (a.IsZero() || b.IsZero()) {
    host.Information(Tr(film_texts::kZeroValue));
    return 50;
  }
  if (a.Sign() != b.Sign()) {
    host.Information(Tr(film_texts::kSignChange1) + RealText17(e.*c->Value) + " --> " +
                     RealText17(f.*c->Value) + Tr(film_texts::kSignChange2));
  }
  // The ratio as a logarithm: a zoom to 1e-1000 has no double ratio.
  const double logRatio = (b.Abs().Log() - a.Abs().Log()).ToDouble();
  double step = std::fabs(factor);
  if (logRatio < 0 && step > 1) step = 1 / step;
  if (logRatio >= 0 && step < 1) step = 1 / step;
  if (logRatio == 0 || step == 1) return running;
  double n = logRatio / std::log(step);
  if (!(n >= 1)) n = 1;
  if (n > kMaxFilmFrames) n = kMaxFilmFrames;
  return n > running ? n : running;
}

void InterpolateLongFrame(double x, double steps, double h, const TParameter& e,
                          const TParameter& f, TParameter& g, const TParameter& previous,
                          bool& same) {
  for (int index : {4, 5, 6, 9, 10}) {
    const TLongCoordinate& c = *LongCoordinateOfParameter(index);
    const int M = e.InterpM[index];
    const int P = e.InterpP[index];
    const TBigFloat a = LongValue(e, c);
    TBigFloat v = a;
    if (P > 0) {
      v = deep::Lerp(a, LongValue(f, c), x);
    } else if (M > 0) {
      const TBigFloat b = LongValue(f, c);
      // Without a usable factor (no step count, a zero, a change of sign)
      // the double path runs linearly too.
      const bool usable = h > 0 && a.Sign() != 0 && a.Sign() == b.Sign();
      v = usable ? Geometric(a, b, steps / h) : deep::Lerp(a, b, x);
    }
    if (!(LongValue(previous, c) == v)) same = false;
    if (v == a) {
      // Unchanged: the key's own text as written, or none.
      g.*c.Text = LongTextCurrent(e.*c.Text, e.*c.Value, c.Height) ? e.*c.Text : std::string();
      g.*c.Value = e.*c.Value;
    } else {
      deep::SetLong(g.*c.Text, g.*c.Value, v, c.Height);
    }
  }
  g.vsp = g.vsx;
  g.vst = g.vsy;
  g.brx = e.OutputHeight != 0 ? g.bry * e.OutputWidth / e.OutputHeight : g.bry;
}

int FrameDeep(const TParameter& e, const TParameter& f, const TParameter& g, int width,
              int height) {
  if (e.Deep != 0) return e.Deep;
  if (f.Deep == 0) return 0;
  TParameter sized = g;
  sized.OutputWidth = width;
  sized.OutputHeight = height;
  return deep::PastDoubleLimit(sized) ? 1 : 0;
}

}  // namespace ork
