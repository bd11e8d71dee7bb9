// The vector lane types of the lane kernels and their mask operations: two
// doubles (SSE2), four (AVX2) and eight (AVX-512 with its DQ part). Only
// the per-instruction-set kernel files include this header, each inside its
// own target region and with ORK_LANE_WIDTH set to the one width it
// compiles. Comparisons are ordered: a lane holding a NaN compares false,
// as the scalar code's do.
#pragma once

#include <immintrin.h>

#include "engine/formulas.h"

namespace ork {

typedef double v2df __attribute__((vector_size(16)));
typedef long long v2di __attribute__((vector_size(16)));
typedef double v4df __attribute__((vector_size(32)));
typedef long long v4di __attribute__((vector_size(32)));
typedef double v8df __attribute__((vector_size(64)));
typedef long long v8di __attribute__((vector_size(64)));

// Two and four lanes: GCC's vector comparisons give all-ones lanes.
template <class V, class I, int N>
struct TVectorLanes {
  using Mask = I;
  static constexpr int kWidth = N;
  static V Splat(double v) {
    V r;
    for (int i = 0; i < N; ++i) r[i] = v;
    return r;
  }
  static Mask Ge(V a, V b) { return a >= b; }
  static Mask Ge(V a, double b) { return a >= Splat(b); }
  static Mask Gt(V a, V b) { return a > b; }
  static Mask Le(V a, V b) { return a <= b; }
  static Mask Eq(V a, V b) { return a == b; }
  // Not a <= b, not a >= b: true for NaN lanes as well.
  static Mask NotLe(V a, V b) { return ~(a <= b); }
  static Mask NotGe(V a, V b) { return ~(a >= b); }
  static Mask Not(Mask m) { return ~m; }
  static Mask Or(Mask a, Mask b) { return a | b; }
  static Mask And(Mask a, Mask b) { return a & b; }
  // The lanes where a <= b and c >= d (false for NaN lanes).
  static Mask LeAndGe(V a, V b, V c, V d) { return (a <= b) & (c >= d); }
  // a - b; on eight lanes taken by the multiplier (see there).
  static V DifferenceOnMultiplier(V a, V b) { return a - b; }
  static V Abs(V v) {
    const I magnitude = reinterpret_cast<I>(v) & 0x7FFFFFFFFFFFFFFFLL;
    return reinterpret_cast<V>(magnitude);
  }
  static V Select(Mask m, V a, V b) { return m ? a : b; }
  // The smaller of two numbers (minpd; no NaN may take part).
  static V Min(V a, V b) { return a < b ? a : b; }
  // min(m, |d|) for m >= 0 (no NaN may take part).
  static V MinAbs(V m, V d) { return Min(m, Abs(d)); }
  // A value between max(|a|, |b|) and fl(|a| + |b|); NaN with a or b (on
  // eight lanes only when both are NaN, see there).
  static V AbsBound(V a, V b) { return Abs(a) + Abs(b); }
};

#if ORK_LANE_WIDTH == 2
template <>
struct TLanes<v2df> : TVectorLanes<v2df, v2di, 2> {
  static int Bits(Mask m) { return _mm_movemask_pd(reinterpret_cast<__m128d>(m)); }
};
#endif

#if ORK_LANE_WIDTH == 4
template <>
struct TLanes<v4df> : TVectorLanes<v4df, v4di, 4> {
  static int Bits(Mask m) { return _mm256_movemask_pd(reinterpret_cast<__m256d>(m)); }
};
#endif

#if ORK_LANE_WIDTH == 8
// Eight lanes: comparisons into mask registers through the intrinsic (the
// vector-extension comparison of 512-bit vectors compiles to scalar code).
template <>
struct TLanes<v8df> {
  using Mask = __mmask8;
  static constexpr int kWidth = 8;
  static v8df Splat(double v) { return reinterpret_cast<v8df>(_mm512_set1_pd(v)); }
  static Mask Ge(v8df a, v8df b) {
    return _mm512_cmp_pd_mask(reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b),
                              _CMP_GE_OQ);
  }
  static Mask Ge(v8df a, double b) { return Ge(a, Splat(b)); }
  static Mask Gt(v8df a, v8df b) {
    return _mm512_cmp_pd_mask(reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b),
                              _CMP_GT_OQ);
  }
  static Mask Le(v8df a, v8df b) {
    return _mm512_cmp_pd_mask(reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b),
                              _CMP_LE_OQ);
  }
  static Mask Eq(v8df a, v8df b) {
    return _mm512_cmp_pd_mask(reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b),
                              _CMP_EQ_OQ);
  }
  static Mask NotLe(v8df a, v8df b) {
    return _mm512_cmp_pd_mask(reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b),
                              _CMP_NLE_UQ);
  }
  static Mask NotGe(v8df a, v8df b) {
    return _mm512_cmp_pd_mask(reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b),
                              _CMP_NGE_UQ);
  }
  static Mask Not(Mask m) { return static_cast<Mask>(~m); }
  static Mask Or(Mask a, Mask b) { return static_cast<Mask>(a | b); }
  static Mask And(Mask a, Mask b) { return static_cast<Mask>(a & b); }
  // The lanes where a <= b and c >= d: the second comparison masked by the
  // first, so that no mask instruction joins them.
  static Mask LeAndGe(v8df a, v8df b, v8df c, v8df d) {
    return _mm512_mask_cmp_pd_mask(Le(a, b), reinterpret_cast<__m512d>(c),
                                   reinterpret_cast<__m512d>(d), _CMP_GE_OQ);
  }
  // a - b, computed as b * -1 + a with one rounding, which is the same
  // number for all inputs (zeros' signs included), on the multiply units,
  // so that a step can even out the work of the multipliers and the adders.
  static v8df DifferenceOnMultiplier(v8df a, v8df b) {
    __m512d minus_one = _mm512_set1_pd(-1.0);
    __asm__("" : "+v"(minus_one));
    return reinterpret_cast<v8df>(
        _mm512_fmadd_pd(reinterpret_cast<__m512d>(b), minus_one, reinterpret_cast<__m512d>(a)));
  }
  static v8df Abs(v8df v) {
    const v8di magnitude = reinterpret_cast<v8di>(v) & 0x7FFFFFFFFFFFFFFFLL;
    return reinterpret_cast<v8df>(magnitude);
  }
  static v8df Select(Mask m, v8df a, v8df b) {
    return reinterpret_cast<v8df>(
        _mm512_mask_blend_pd(m, reinterpret_cast<__m512d>(b), reinterpret_cast<__m512d>(a)));
  }
  // A value between max(|a|, |b|) and fl(|a| + |b|): the larger magnitude,
  // in one instruction. Unlike the sum it is NaN only when both are; with
  // one NaN it is the other's magnitude.
  static v8df AbsBound(v8df a, v8df b) {
    return reinterpret_cast<v8df>(
        _mm512_range_pd(reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b), 0b1011));
  }
  // The smaller of two numbers (no NaN may take part).
  static v8df Min(v8df a, v8df b) {
    return reinterpret_cast<v8df>(
        _mm512_maskz_min_pd(0xFF, reinterpret_cast<__m512d>(a), reinterpret_cast<__m512d>(b)));
  }
  // min(m, |d|) for m >= 0 (no NaN may take part), in one instruction.
  static v8df MinAbs(v8df m, v8df d) {
    return reinterpret_cast<v8df>(
        _mm512_range_pd(reinterpret_cast<__m512d>(m), reinterpret_cast<__m512d>(d), 0b1010));
  }
  static int Bits(Mask m) { return m; }
};
#endif

}  // namespace ork
