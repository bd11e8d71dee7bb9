#include "color/coding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "color/real_int.h"

namespace ork {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Raw result of coding C for buffer index i, before the final clamp. Each
// rule is read literally: a comparison with not-a-number is false.
template <int C>
inline int64_t Raw(const TCoder& c, size_t i) {
  if constexpr (C == 1 || C == 2 || C == 3 || C == 16 || C == 17) {
    const int64_t k = static_cast<int64_t>(c.it[i]) - c.n;
    if constexpr (C == 16) return TruncInt(c.F1 * static_cast<double>(ModOrZero(k, c.intF1)));
    if constexpr (C == 17) return ModOrZero(TruncInt(static_cast<double>(k) * c.F1), c.n - 1);
    const int64_t t = TruncInt(static_cast<double>(k) - c.F2);
    if constexpr (C == 1) {
      if (!c.mod1) return t;
      return TruncInt(c.F1 * static_cast<double>(ModOrZero(t, c.div1)));
    }
    if constexpr (C == 2) return TruncInt(c.F1 * static_cast<double>(ModOrZero(t, 4)));
    if constexpr (C == 3) return ModOrZero(t, c.intF1);
  } else if constexpr (C == 4 || C == 5) {
    const double v = (C == 4) ? c.x[i] : c.y[i];
    int64_t gr = 0;
    if (!(v >= 0)) gr = c.n - 1;
    if (!(std::fabs(v) >= 1)) gr = 0;
    if (std::fabs(v) > 1) gr = TruncInt(c.F1 * std::log(std::fabs(v - c.F2)));
    return gr;
  } else if constexpr (C == 6 || C == 7 || C == 9 || C == 10) {
    const double x = c.x[i], y = c.y[i];
    const double r = std::sqrt(x * x + y * y);
    if constexpr (C == 6) return r > 1 ? TruncInt(c.F1 * std::log(r - c.F2)) : 0;
    if constexpr (C == 7) return r >= c.F1 ? TruncInt(std::log(r - c.F2)) : 0;
    if constexpr (C == 9) {
      if (r < 10) return TruncInt(c.F1 * 2 * (r - c.F2));
      if (r > 10) return c.n - 1;
      return 0;
    }
    if constexpr (C == 10) {
      if (r < 1) return TruncInt(c.F1 * std::log(1 / r - c.F2));
      if (r > 1) return TruncInt((r - c.F2) * c.F1);
      return 0;
    }
  } else if constexpr (C == 11 || C == 12) {
    const double v = (C == 11) ? c.x[i] : c.y[i];
    int64_t gr = 0;
    if (!(v >= 0)) gr = c.q;
    if (v > 1) gr = TruncInt(c.F1 * std::log(v - c.F2));
    return gr;
  } else if constexpr (C == 8) {
    return TruncInt((static_cast<double>(c.zyc[i]) + c.F2) * c.F1);
  } else if constexpr (C == 13) {
    return TruncInt(c.z[i] * c.F1);
  } else if constexpr (C == 14) {
    // Degrees as (radians * 180) / pi: x = -1, y = 0 gives exactly 180.
    const double a = std::atan2(c.y[i], c.x[i]) * 180.0 / kPi;
    return TruncInt(std::fabs(a) * c.F1);
  } else if constexpr (C == 15) {
    const double x = c.x[i], y = c.y[i], p = c.p[i];
    const double r1 = std::sqrt(x * x + y * y + p * p);
    return r1 > 1 ? TruncInt(c.F1 * std::log(r1)) : 0;
  }
  return 0;
}

inline int32_t Clamp(int64_t gr, int n) {
  if (gr < 0) return 0;
  if (gr > n - 1) return n - 1;
  return static_cast<int32_t>(gr);
}

template <int C>
void RunOf(const TCoder& c, size_t first, int length, int32_t* out) {
  for (int j = 0; j < length; ++j) out[j] = Clamp(Raw<C>(c, first + j), c.n);
}

using TRunFn = void (*)(const TCoder&, size_t, int, int32_t*);

void RunZero(const TCoder&, size_t, int length, int32_t* out) { std::fill(out, out + length, 0); }

constexpr TRunFn kRuns[18] = {RunZero,     RunOf<1>,  RunOf<2>,  RunOf<3>,  RunOf<4>,  RunOf<5>,
                              RunOf<6>,    RunOf<7>,  RunOf<8>,  RunOf<9>,  RunOf<10>, RunOf<11>,
                              RunOf<12>,   RunOf<13>, RunOf<14>, RunOf<15>, RunOf<16>, RunOf<17>};

TRunFn RunFor(const TCoder& c) {
  if (c.n < 1 || c.coding < 1 || c.coding > 17) return RunZero;
  return kRuns[c.coding];
}

}  // namespace

int ReducedCoding(int selectPicture) {
  return selectPicture >= 1000 ? selectPicture - 1000 : selectPicture;
}

namespace {

// The fixed description texts; codings 1 and 17 are printf formats with n
// (coding 1, twice) or n - 1 (coding 17).
const char* CodingFormat(int coding) {
  switch (coding) {
    case 1: return "gr = It-F2; If %d > 2*F1 Then gr = F1*mod((it-F2),Int(%d/F1))";
    case 2: return "gr = F1*mod((it-F2),4)";
    case 3: return "gr = mod((it-F2),F1)";
    case 4:
      return "If x<0 Then gr=255; If Abs(x)<1 Then gr=0; If Abs(x)>1 Then gr=Int(F1*Log(Abs(x-F2)))";
    case 5:
      return "If y<0 Then gr=255; If Abs(y)<1 Then gr=0; If Abs(y)>1 Then gr=Int(F1*Log(Abs(y-F2)))";
    case 6: return "Br=Sqr(Bx*Bx+By*By); If Br<1 Then gr=0; If Br>1 Then gr=Int(F1*Log(Br-F2))";
    case 7: return "Br=Sqr(Bx*Bx+By*By); If Br<F1 Then gr=1; If Br>F1 Then gr=Int(Log(Br-F2))";
    case 8: return "gr = (Zyklen+F2) * F1";
    case 9: return "Br=Sqr(Bx*Bx+By*By); If Br<10 Then gr=Int(F1*2*(Br-F2))); If Br>10 Then gr=255";
    case 10:
      return "Br=Sqr(Bx*Bx+By*By); If Br<1 Then gr=Int(F1*Log((1/Br)-F2)); If Br>1 Then "
             "gr=Int((Br-F2)*F1)";
    case 11: return "If x>0 Then gr=0; If x<0 Then gr=255; If x>1 Then gr=Int(F1*Log(x-F2))";
    case 12: return "If y>0 Then gr=0; If y<0 Then gr=255; If y>1 Then gr=Int(F1*Log(y-F2))";
    case 13: return "gr = Delta*F1";
    case 14: return "gr = Abs(ATan2(y,x))*F1";
    case 15:
      return "Br1=Sqr(Bx*Bx+By*By+Bp*Bp); If Br1<1 Then gr=0; If Br1>1 Then gr=Int(F1*Log(Br1))";
    case 16: return "gr = F1*mod(it,F1)";
    case 17: return "gr = mod(it*F1,%d)";
    default: return "";
  }
}

// The text into buf without allocating; returns its length.
size_t FormatCodingText(int coding, int n, char* buf, size_t size) {
  const char* format = CodingFormat(coding);
  int length = 0;
  if (coding == 1) {
    length = std::snprintf(buf, size, format, n, n);
  } else if (coding == 17) {
    length = std::snprintf(buf, size, format, n - 1);
  } else {
    length = std::snprintf(buf, size, "%s", format);
  }
  return length < 0 ? 0 : std::min(static_cast<size_t>(length), size - 1);
}

}  // namespace

unsigned CodingLeavesUnread(int coding) {
  using R = TRender;
  const unsigned all = R::kUnreadX | R::kUnreadY | R::kUnreadP | R::kUnreadT | R::kUnreadZ |
                       R::kUnreadPeriod;
  switch (coding) {  // as Raw reads them
    case 4: case 11: return all & ~R::kUnreadX;
    case 5: case 12: return all & ~R::kUnreadY;
    case 6: case 7: case 9: case 10: case 14: return all & ~(R::kUnreadX | R::kUnreadY);
    case 15: return all & ~(R::kUnreadX | R::kUnreadY | R::kUnreadP);
    case 8: return all & ~R::kUnreadPeriod;
    case 13: return all & ~R::kUnreadZ;
    default: return all;  // the counts only, or index 0
  }
}

std::string CodingText(int coding, int n) {
  char buf[160];
  return std::string(buf, FormatCodingText(coding, n, buf, sizeof buf));
}

TCoder PrepareCoder(const TParameter& keyframe, TRender& render) {
  TCoder c;
  c.coding = ReducedCoding(keyframe.SelectPicture);
  int n = std::min(render.colz, TruncInt(keyframe.fact4));
  for (const TColorTablePtr& t : {render.ColR, render.ColG, render.ColB}) {
    if (t) n = std::min<int64_t>(n, static_cast<int64_t>(t->size()));
  }
  c.n = n;
  c.q = n / 4;
  c.F1 = keyframe.fact1;
  c.F2 = keyframe.fact2;
  c.mod1 = static_cast<double>(n) > 2 * c.F1;
  c.div1 = TruncInt(static_cast<double>(n) / c.F1);
  c.intF1 = TruncInt(c.F1);

  const size_t pixels = static_cast<size_t>(std::max(render.Width, 0)) *
                        static_cast<size_t>(std::max(render.Height, 0));
  const bool complete = render.bildX.size() >= pixels && render.bildY.size() >= pixels &&
                        render.bildP.size() >= pixels && render.bildZ.size() >= pixels &&
                        render.ibild.size() >= pixels && render.zycbild.size() >= pixels;
  if (complete) {
    c.x = render.bildX.data();
    c.y = render.bildY.data();
    c.p = render.bildP.data();
    c.z = render.bildZ.data();
    c.it = render.ibild.data();
    c.zyc = render.zycbild.data();
    c.count = pixels;
  }

  if (c.coding >= 1 && c.coding <= 17) {
    char buf[160];
    const std::string_view text(buf, FormatCodingText(c.coding, n, buf, sizeof buf));
    if (render.Coding[c.coding] != text) render.Coding[c.coding].assign(text);
  }
  return c;
}

void CodeRun(const TCoder& coder, size_t first, int length, int32_t* out) {
  if (length <= 0) return;
  int inside = 0;
  if (first < coder.count) {
    inside = static_cast<int>(std::min<size_t>(static_cast<size_t>(length), coder.count - first));
  }
  if (inside > 0) RunFor(coder)(coder, first, inside, out);
  std::fill(out + inside, out + length, 0);
}

int32_t CodeIndex(const TCoder& coder, size_t index) {
  int32_t out = 0;
  CodeRun(coder, index, 1, &out);
  return out;
}

int CodePixel(int column, int row, const TParameter& keyframe, TRender& render) {
  const TCoder coder = PrepareCoder(keyframe, render);
  if (column < 0 || row < 0 || column >= render.Width || row >= render.Height) return 0;
  return CodeIndex(coder, static_cast<size_t>(row) * render.Width + column);
}

}  // namespace ork
