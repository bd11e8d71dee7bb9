#include "color/color_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "color/real_int.h"

namespace ork {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;
// Frequencies given in single precision.
constexpr double k37 = static_cast<double>(3.7f);
constexpr double k17 = static_cast<double>(1.7f);

struct TTables {
  int* r;
  int* g;
  int* b;
};

struct TRgb {
  int r, g, b;
};

// The function tables (every number except 14, 15 and 23), then their
// normalisation by d = n / 255.
void FunctionTable(int tab, double F3, double F4, int n, const TTables& t) {
  const int m = TruncInt(F4 / 2);
  const int m2 = m / 2;
  auto clamp = [n](int64_t v) -> int { return static_cast<int>(std::clamp<int64_t>(v, 0, n - 1)); };
  // E(T, k) of the channel formulas; T is cosine (true) or sine.
  auto E = [&](bool cosine, double k, int i) -> int {
    const double arg = ((F3 * kTwoPi) * i) / F4 * k;
    return clamp(TruncInt(m * ((cosine ? std::cos(arg) : std::sin(arg)) + 1)));
  };
  auto halfCos = [&](int i) { return clamp(TruncInt(m * (std::cos((F3 * kPi * i) / F4) + 1))); };
  auto mod = [](int64_t a, int64_t b) { return ModOrZero(a, b); };
  constexpr bool C = true, S = false;

  for (int i = 0; i < n; ++i) {
    int r = 0, g = 0, b = 0;
    switch (tab) {
      case 1: r = n - E(C, 1, i); g = n - E(C, 2, i); b = n - E(S, 1, i); break;
      case 2: r = n - E(C, 1, i); g = n - E(S, 1, i); b = n - E(C, 2, i); break;
      case 3: r = n - E(S, 1, i); g = n - E(C, 1, i); b = n - E(C, 2, i); break;
      case 4: r = n - E(S, 1, i); g = n - E(C, 2, i); b = n - E(C, 1, i); break;
      case 5: r = E(C, 2, i); g = E(C, 1, i); b = E(C, 3.5, i); break;
      case 6: r = n - E(S, k37, i); g = n - E(C, 1, i); b = E(C, k17, i); break;
      case 7: r = halfCos(i); g = E(C, 1, i); b = 0; break;
      case 8: r = E(C, k17, i); g = n - E(C, 1, i); b = n - E(S, k37, i); break;
      case 9: r = E(S, 4, i); g = n - E(S, 1, i); b = E(S, 6, i); break;
      case 10: r = E(S, 6, i); g = n - E(S, 1, i); b = E(S, 5, i); break;
      case 11: r = n - E(S, 1, i); g = E(S, 4, i); b = E(S, 6, i); break;
      case 12:
        r = E(S, 4, i);
        g = E(S, 6, i);
        b = n - clamp(TruncInt(m * (std::sin((kTwoPi * i) / F4) + 1)));
        break;
      case 13: r = E(S, 5, i); g = E(S, 6, i); b = n - E(S, 1, i); break;
      case 16: r = n - E(S, k37, i); g = E(C, k17, i); b = n - E(C, 1, i); break;
      case 17:
        r = i < m ? clamp(n - i) : i;
        g = i;
        b = clamp(4 * mod(i, m2));
        break;
      case 18:
        r = clamp(n - mod(i, m2));
        g = clamp(TruncInt(static_cast<double>(mod(i, m)) * (F3 * 2)));
        b = TruncInt(n - F3 * i);
        break;
      case 19:
        r = clamp(2 * mod(i, m));
        g = TruncInt(n - F3 * i);
        b = clamp(n - mod(i, m2));
        break;
      case 20:
        r = clamp(4 * mod(i, m2));
        g = TruncInt(F3 * i);
        b = i < m ? clamp(n - i) : TruncInt(F3 * i);
        break;
      case 21:
        r = clamp(TruncInt(static_cast<double>(mod(i, m2)) * (F3 * 4)));
        g = i < m ? clamp(n - 2 * static_cast<int64_t>(i)) : clamp(2 * static_cast<int64_t>(i));
        b = i;
        break;
      case 22:
        r = i < m ? clamp(TruncInt(n - (F3 * 2) * i)) : clamp(TruncInt((F3 * 2) * i));
        g = i;
        b = clamp(4 * mod(TruncInt(F3 * i), m2));
        break;
      case 24: r = g = b = halfCos(i); break;
      case 25: r = g = b = clamp(TruncInt(F3 * i)); break;
      default: r = g = b = clamp(TruncInt(F4 * std::sin(((F3 * kTwoPi) * i) / F4))); break;
    }
    t.r[i] = r;
    t.g[i] = g;
    t.b[i] = b;
  }

  const int d = n / 255;
  for (int* table : {t.r, t.g, t.b}) {
    for (int i = 0; i < n; ++i) {
      // Fewer than 255 colours leave no divisor: such tables are white.
      int e = d == 0 ? 255 : table[i] / d;
      table[i] = std::min(e, 255);
    }
  }
}

// Scales entries 0 .. last by L = n / 255 (a real division), capped at 255.
void ScaleToIntensity(const TTables& t, int n, int last) {
  const double L = n / 255.0;
  for (int* table : {t.r, t.g, t.b}) {
    for (int i = 0; i <= last; ++i) table[i] = std::min(TruncInt(table[i] / L), 255);
  }
}

void GradientTable(int tab, double F3, int n, const TTables& t) {
  const int full = n - 1;
  const int half = n / 2 - 1;
  static constexpr int kKeys14 = 11, kKeys15 = 9;
  const TRgb keys14[kKeys14] = {{0, 0, 0},       {full, full, full}, {0, 0, full},    {0, full, 0},
                                {full, 0, 0},    {full, full, 0},    {0, 0, 0},       {0, full, full},
                                {0, half, 0},    {full, full, half}, {full, 0, full}};
  const TRgb keys15[kKeys15] = {{0, 0, 0},   {0, full, full}, {full, 0, 0},
                                {0, full, 0}, {0, 0, 160},     {full, full, 0},
                                {0, 0, 0},   {full, half, full}, {full, full, full}};
  const double F3p = (F3 >= 1 || F3 < 0) ? 1.0 : F3;
  int f = TruncInt((tab == 14 ? 10 : 8) * F3p);
  // F3' near 0 leaves no key: one key (black) gives a sound table.
  f = std::clamp(f, 1, tab == 14 ? kKeys14 : kKeys15);
  auto key = [&](int j) -> const TRgb& { return tab == 14 ? keys14[j] : keys15[(j + 1) % f]; };

  const int s = (n - 1) / f;
  int p = -1;
  for (int j = 0; j < f && p + 1 < n; ++j) {
    const TRgb& cur = key(j);
    const TRgb& nxt = key((j + 1) % f);
    const int stepR = s > 0 ? (nxt.r - cur.r) / s : 0;
    const int stepG = s > 0 ? (nxt.g - cur.g) / s : 0;
    const int stepB = s > 0 ? (nxt.b - cur.b) / s : 0;
    ++p;
    t.r[p] = cur.r;
    t.g[p] = cur.g;
    t.b[p] = cur.b;
    for (int k = 1; k < s && p + 1 < n; ++k) {
      ++p;
      t.r[p] = std::clamp(t.r[p - 1] + stepR, 0, n - 1);
      t.g[p] = std::clamp(t.g[p - 1] + stepG, 0, n - 1);
      t.b[p] = std::clamp(t.b[p - 1] + stepB, 0, n - 1);
    }
  }
  for (int i = p + 1; i < n; ++i) {
    t.r[i] = t.r[p];
    t.g[i] = t.g[p];
    t.b[i] = t.b[p];
  }
  ScaleToIntensity(t, n, n - 1);
}

void SteppedTable(int n, const TTables& t) {
  if (n < 2) return;  // entries 0 .. n - 2 are none
  const int full = n - 2;
  const int half = n / 2 - 1;
  const TRgb keys[13] = {{full, 0, full}, {half, full, full}, {full, 0, 0},       {full, full, 0},
                         {0, 0, full},    {full, full, full}, {0, 0, 0},          {0, full, 0},
                         {full, half, 0}, {half, full, full}, {0, half, 0},       {full, full, half},
                         {0, 0, full}};
  for (int i = 0; i <= n - 2; ++i) {
    const int j = (i + 1) % 13;
    const int offset = 3 * ((i + 1) / 13);  // grows each time the keys wrap to 0
    t.r[i] = std::clamp(keys[j].r + offset, 0, n - 2);
    t.g[i] = std::clamp(keys[j].g + offset, 0, n - 2);
    t.b[i] = std::clamp(keys[j].b + offset, 0, n - 2);
  }
  ScaleToIntensity(t, n, n - 2);
}

}  // namespace

void ShiftColorTable(int* red, int* green, int* blue, int size, double F4, int shift) {
  const int c = std::min(size, TruncInt(F4));
  if (shift == 0 || c < 1) return;
  const int64_t r = ((static_cast<int64_t>(shift) % c) + c) % c;
  if (r == 0) return;
  std::vector<int> former(static_cast<size_t>(c));
  for (int* table : {red, green, blue}) {
    std::copy(table, table + c, former.begin());
    for (int i = 0; i < c; ++i) table[i] = former[static_cast<size_t>((i + r) % c)];
  }
}

void BuildColorTable(TParameter& keyframe, int* red, int* green, int* blue, int size) {
  if (keyframe.fact3 == 0) keyframe.fact3 = 1;
  if (keyframe.fact1 == 0) keyframe.fact1 = 30;
  if (keyframe.fact4 == 0) keyframe.fact4 = 2048;
  if (!red || !green || !blue) return;
  const double F3 = keyframe.fact3;
  const double F4 = keyframe.fact4;
  const int n = std::min(size, TruncInt(F4));
  if (n < 1) return;
  const TTables t{red, green, blue};
  const int tab = keyframe.farbtab;
  if (tab == 14 || tab == 15) {
    GradientTable(tab, F3, n, t);
  } else if (tab == 23) {
    SteppedTable(n, t);
  } else {
    FunctionTable(tab, F3, F4, n, t);
  }
  ShiftColorTable(red, green, blue, size, F4, keyframe.ColShift);
}

void BuildColorTable(TParameter& keyframe, TRender& render) {
  if (!render.ColR || !render.ColG || !render.ColB) {
    BuildColorTable(keyframe, nullptr, nullptr, nullptr, 0);
    return;
  }
  const size_t size = std::min({render.ColR->size(), render.ColG->size(), render.ColB->size()});
  BuildColorTable(keyframe, render.ColR->data(), render.ColG->data(), render.ColB->data(),
                  static_cast<int>(std::min<size_t>(size, INT32_MAX)));
}

}  // namespace ork
