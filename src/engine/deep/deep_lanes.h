// The lean steps of a deep picture in vector lanes: one pixel per lane,
// each lane's ordinary iterations (uncoupled, CycleTest up to 64, the
// difference in double) taken for all lanes at once. A lane whose next iteration
// needs more (the iteration limit, zval, a run of the approximation table,
// a small cycle distance, an escape, the extended type) is taken out of
// the vector for that iteration: the scalar lean step or the plain loop
// takes it, exactly as they would have without the lanes, and the results
// are those of the plain loop bit for bit.
//
// Included by the per-instruction-set files inside their target region,
// with ORK_LANE_WIDTH and engine/lanes_x86.h before it; every other header
// is included before the region.
#pragma once

#include <type_traits>

namespace ork::deep {

// Byte addresses, one per lane: unsigned, so that moving on the address
// of a lane that holds no pixel wraps instead of overflowing.
#if ORK_LANE_WIDTH == 8
typedef unsigned long long TDeepAddresses __attribute__((vector_size(64)));
// Eight doubles from the byte addresses of the lanes in m (0 elsewhere).
inline v8df GatherAt(TDeepAddresses at, __mmask8 m) {
  return reinterpret_cast<v8df>(_mm512_mask_i64gather_pd(
      _mm512_setzero_pd(), m, reinterpret_cast<__m512i>(at), nullptr, 1));
}
inline TDeepAddresses SelectAt(__mmask8 m, TDeepAddresses a, TDeepAddresses b) {
  return reinterpret_cast<TDeepAddresses>(
      _mm512_mask_blend_epi64(m, reinterpret_cast<__m512i>(b), reinterpret_cast<__m512i>(a)));
}
#else
typedef unsigned long long TDeepAddresses __attribute__((vector_size(32)));
inline v4df GatherAt(TDeepAddresses at, v4di m) {
  return reinterpret_cast<v4df>(_mm256_mask_i64gather_pd(
      _mm256_setzero_pd(), nullptr, reinterpret_cast<__m256i>(at),
      reinterpret_cast<__m256d>(m), 1));
}
inline TDeepAddresses SelectAt(v4di m, TDeepAddresses a, TDeepAddresses b) {
  return m ? a : b;
}
#endif

template <class V, int F>
class TDeepLanes {
  using L = TLanes<V>;
  using M = typename L::Mask;
  using A = TDeepAddresses;
  static constexpr int W = L::kWidth;
  // Groups of lanes stepped one after the other: their chains of
  // operations (a gather, the step, the tests) overlap.
  static constexpr int G = 4;

  // Each group's lanes: orbit (0, 1), index, the orbit's length, the
  // reference at the index, the reach of the table's runs there, the
  // difference, the pixel's value and its scale, the same of the value
  // before, the constant's difference, iterations taken (of those one by
  // one) and left to the next limit; byte addresses of the reference at
  // the index and of the table's reach there; what the lane was loaded
  // with; the lanes that took runs of the table and then no step. With
  // CycleTest 1 also whether the next limit is the step that samples zval
  // (taken in the vector), and zval once sampled there.
  struct TGroup {
    V orbit_id_, r_, len_, zc0_, zc1_, reach_;
    V d0_, d1_, z0_, z1_, scale_;
    V pid_, pr_, pd0_, pd1_, pz0_, pz1_, pscale_;
    V dcx_, dcy_, done_, plain_, budget_;
    V samples_, sampled_, zval_;
    A zaddr_, raddr_;
    const TReferenceOrbit* pref_[W];
    int done0_[W], plain0_[W], head0_[W];
    int ran_bits = 0;
    // The lanes whose pixel starts a fresh history with their next step
    // (a new pixel): that step is tested as the first after runs.
    int fresh_bits = 0;
    // The lanes whose pixel escaped in the step they took (CycleTest 1).
    int escaped_bits = 0;
    // With CycleTest 2 and more, the lanes' earlier values (kRingFields
    // vectors per place, places 0 ... CycleTest), all lanes with one head:
    // slot i compares with place head - (i - 1).
    V* ring = nullptr;
    int head = 0;
  };
  // Per ring place: z0, z1, scale, orbit, index, d0, d1.
  static constexpr int kRingFields = 7;

 public:
  TDeepLanes(TDeepPixelRunner& runner) : run_(runner), P_(runner.Picture()) {
    // Orbit 1 is the one rebasing goes to; in Mandelbrot mode both are.
    orbit_[0] = P_.start;
    orbit_[1] = P_.rebase;
    table_[0] = P_.table;
    table_[1] = P_.start == P_.rebase ? P_.table : P_.rebase_table;
    const double* Z0 = P_.rebase->Double(0);
    rz0_ = L::Splat(Z0[0]);
    rz1_ = L::Splat(Z0[1]);
    rlen_ = L::Splat(static_cast<double>(P_.rebase->Length()));
    // The rings (CycleTest 2 and more).
    slots_ = std::max(P_.cycle_test, 1);
    rs_ = slots_ + 1;
    if (slots_ > 1) {
      // Aligned by hand: the vector's own allocation need not be.
      const size_t n = static_cast<size_t>(G) * rs_ * kRingFields;
      ring_.assign((n + 1) * W, 0.0);
      const uintptr_t at = reinterpret_cast<uintptr_t>(ring_.data());
      V* ring = reinterpret_cast<V*>((at + sizeof(V) - 1) / sizeof(V) * sizeof(V));
      for (int k = 0; k < G; ++k) groups_[k].ring = ring + static_cast<size_t>(k) * rs_ * kRingFields;
    }
    // Where a rebased lane reads next: index 1 of orbit 1.
    for (int i = 0; i < W; ++i) {
      rebased_z_[i] = Address(P_.rebase->Double(1));
      rebased_reach_[i] = table_[1] != nullptr ? Address(table_[1]->ReachRadiusAt(1)) : 0;
    }
  }

  void RunRow(int row, int width, const TDeepPixelRunner::TEmit& emit) {
    constexpr int N = G * W;  // slot n: lane n % W of group n / W
    run_.Slot(N - 1);
    TDeepPixel* px[N];
    // newPixel: begun, not yet offered to the vector.
    bool busy[N] = {}, inVector[N] = {}, newPixel[N] = {};
    int next = 0, active = 0;
    for (int n = 0; n < N; ++n) {
      px[n] = &run_.Slot(n);
      if (next < width) {
        run_.Begin(*px[n], next++, row);
        busy[n] = newPixel[n] = true;
        ++active;
      }
    }
    // The pixel in slot n is done: its result out, the row's next pixel in.
    const auto finish = [&](int n) {
      TDeepPixel& x = *px[n];
      emit(x.column, run_.End(x), x.sampled);
      if (next < width) {
        run_.Begin(x, next++, row);
        newPixel[n] = true;
      } else {
        busy[n] = false;
        --active;
      }
    };
    while (active > 0) {
      int masks[G] = {}, events[G] = {};
      M acts[G];
      bool any = false;
      for (int n = 0; n < N; ++n) masks[n / W] |= inVector[n] ? 1 << (n % W) : 0;
      for (int k = 0; k < G; ++k) {
        acts[k] = MaskOf(masks[k]);
        any = any || masks[k] != 0;
      }
      if (any) {
        // The groups run until one of their lanes has an event.
        bool none = true;
        do {
          for (int k = 0; k < G; ++k) events[k] = Step(groups_[k], acts[k], masks[k]);
          none = true;
          for (int k = 0; k < G; ++k) none = none && events[k] == 0;
        } while (none);
        for (int n = 0; n < N; ++n) {
          const int k = n / W, i = n % W;
          if ((events[k] >> i & 1) == 0) continue;
          TLeanLane l;
          Extract(groups_[k], i, *px[n], l);
          if ((groups_[k].escaped_bits >> i & 1) != 0) {
            // The step the lane took escaped: the pixel ends as the plain
            // loop ends it, no cycle found.
            TDeepPixel& x = *px[n];
            LeanStore(x, l);
            x.escaped = x.over = true;
            x.period = 0;
            inVector[n] = false;
            finish(n);
            continue;
          }
          const int took = slots_ > 1 ? LeanStepRing<F>(P_, *px[n], l)
                                      : LeanStep<F>(P_, *px[n], l, run_.skipped);
          if (took == 1) {
            Insert(groups_[k], i, *px[n], l);  // the scalar step took it: back in
          } else {
            LeanStore(*px[n], l);
            inVector[n] = false;
          }
        }
      }
      for (int n = 0; n < N; ++n) {
        if (!busy[n] || inVector[n]) continue;
        TDeepPixel& x = *px[n];
        const auto intoVector = [&] {
          TLeanLane l;
          LeanLoad(x, l);
          Insert(groups_[n / W], n % W, x, l);
          inVector[n] = true;
        };
        // A new pixel takes its first step in the vector too (once: where
        // the vector hands it back, the plain loop takes that step).
        const bool fresh = newPixel[n] && run_.LeanFresh(x);
        newPixel[n] = false;
        if (fresh) {
          intoVector();
          continue;
        }
        if (!run_.Step(x, nullptr)) {
          if (run_.Lean(x)) intoVector();
          continue;
        }
        finish(n);
      }
    }
  }

 private:
  static V Abs(V v) { return L::Abs(v); }
  static V Twice(V v) { return v + v; }
  // std::max's rule: a < b ? b : a.
  static V Max(V a, V b) { return L::Select(L::Gt(b, a), b, a); }
  // (Read in place: a vector taken by value goes through the stack whole.)
  static double Lane(const V& v, int i) { return reinterpret_cast<const double*>(&v)[i]; }

  // Runs from index 1 of orbit 1 for the lanes in `tab` whose longest run
  // ends where this thread's last search from 1 ended (pixels near a
  // minibrot cross each period so): one node for all of them, tested and
  // applied in the vector as Allows and ApplyRun do it lane by lane. Only
  // a run that ends at an odd index, where no further run starts, is taken
  // here. Returns the lanes that took it; Runs takes the others.
  [[gnu::always_inline]] M RunsFromOne(TGroup& g, M tab) {
    const V zero = L::Splat(0.0), one = L::Splat(1.0);
    const M none = L::And(tab, L::Not(tab));
    const TApproximationTable* table = table_[1];
    const M at = L::And(tab, L::And(L::Eq(g.r_, one), L::Eq(g.orbit_id_, one)));
    if (table == nullptr || L::Bits(at) == 0) return none;
    const int64_t e = table->FromOneEnd();
    if (e < 3 || e > table->Length() - 2 || (e & 1) == 0) return none;
    const V dAbs = Abs(g.d0_) + Abs(g.d1_);
    const V h = Abs(g.pz0_) + Abs(g.pz1_);  // the rebased history
    const V history = L::Select(L::Gt(h, zero), h, zero);
    const V factor = L::Splat(TApproximationTable::GapFactor());
    const V acc2 = L::Splat(2 * table->Acc());
    const auto allows = [&](const TApproximationTable::TNode& n) {
      const V inside = L::Splat(n.amax) * dAbs + L::Splat(n.bmax * table->DcMax());
      const V bound = factor * (inside + history) + acc2;
      return L::And(L::Gt(L::Splat(n.radius), dAbs), L::Gt(L::Splat(n.gap), bound));
    };
    // The run to e is allowed within the lane's limit, and the one to e + 1
    // is not (or lies beyond the limit or the orbit).
    M fast = L::And(at, L::And(L::Ge(g.budget_, L::Splat(static_cast<double>(e - 1))),
                               allows(table->FromOne(e))));
    if (L::Bits(fast) == 0) return none;
    if (e + 1 <= table->Length() - 2) {
      const M longer =
          L::And(L::Ge(g.budget_, L::Splat(static_cast<double>(e))), allows(table->FromOne(e + 1)));
      fast = L::And(fast, L::Not(longer));
      if (L::Bits(fast) == 0) return none;
    }
    const TApproximationTable::TNode& n = table->FromOne(e);
    const V ax = L::Splat(n.ax), ay = L::Splat(n.ay), bx = L::Splat(n.bx), by = L::Splat(n.by);
    const V d0 = ax * g.d0_ - ay * g.d1_ + bx * g.dcx_ - by * g.dcy_;
    const V d1 = ax * g.d1_ + ay * g.d0_ + bx * g.dcy_ + by * g.dcx_;
    const double* Z = orbit_[1]->Double(e);
    const V Z0 = L::Splat(Z[0]), Z1 = L::Splat(Z[1]);
    const V len = L::Splat(static_cast<double>(e - 1));
    const V t0 = Abs(Z0) + Abs(d0), t1 = Abs(Z1) + Abs(d1);
    g.r_ = L::Select(fast, L::Splat(static_cast<double>(e)), g.r_);
    g.done_ = L::Select(fast, g.done_ + len, g.done_);
    g.budget_ = L::Select(fast, g.budget_ - len, g.budget_);
    g.d0_ = L::Select(fast, d0, g.d0_);
    g.d1_ = L::Select(fast, d1, g.d1_);
    g.zc0_ = L::Select(fast, Z0, g.zc0_);
    g.zc1_ = L::Select(fast, Z1, g.zc1_);
    g.z0_ = L::Select(fast, Z0 + d0, g.z0_);
    g.z1_ = L::Select(fast, Z1 + d1, g.z1_);
    g.scale_ = L::Select(fast, ((t0 + t1) + t0) + t1, g.scale_);
    g.reach_ = L::Select(fast, L::Splat(table->ReachRadius(e)), g.reach_);
    g.zaddr_ = SelectAt(fast, A{} + Address(Z), g.zaddr_);
    g.raddr_ = SelectAt(fast, A{} + Address(table->ReachRadiusAt(e)), g.raddr_);
    const int lanes = __builtin_popcount(static_cast<unsigned>(L::Bits(fast)));
    run_.skipped += static_cast<long long>(lanes) * (e - 1);
    return fast;
  }

  // The table's runs for the lanes in `tab` (CycleTest 1), as the scalar
  // lean step takes them: Find's search is scalar, one lane after the
  // other, without taking the lanes out of the vector. Returns the lanes
  // that took runs.
  [[gnu::noinline]] M Runs(TGroup& g, M tab) {
    int took = 0;
    for (int bits = L::Bits(tab); bits != 0; bits &= bits - 1) {
      const int i = __builtin_ctz(static_cast<unsigned>(bits));
      const int id = Lane(g.orbit_id_, i) != 0 ? 1 : 0;
      const TApproximationTable& table = *table_[id];
      int64_t r = static_cast<int64_t>(Lane(g.r_, i));
      const int64_t budget = static_cast<int64_t>(Lane(g.budget_, i));
      double d0 = Lane(g.d0_, i), d1 = Lane(g.d1_, i);
      const double history = RunHistory(RebasedHistory(P_, orbit_[id], r), Lane(g.pz0_, i),
                                        Lane(g.pz1_, i), Lane(g.pd0_, i), Lane(g.pd1_, i));
      const double dcx = Lane(g.dcx_, i), dcy = Lane(g.dcy_, i);
      const TApproximationTable::TNode* n = nullptr;
      int64_t len, total = 0;
      while ((len = table.Find(r, Magnitude(d0, d1), history, budget - total, n)) != 0) {
        ApplyRun(*n, dcx, dcy, d0, d1);
        r += len;
        total += len;
      }
      if (total == 0) continue;
      took |= 1 << i;
      run_.skipped += total;
      const double* Z = orbit_[id]->Double(r);
      g.r_[i] = static_cast<double>(r);
      g.done_[i] += static_cast<double>(total);
      g.budget_[i] -= static_cast<double>(total);
      g.d0_[i] = d0;
      g.d1_[i] = d1;
      g.zc0_[i] = Z[0];
      g.zc1_[i] = Z[1];
      g.z0_[i] = Z[0] + d0;
      g.z1_[i] = Z[1] + d1;
      const double t0 = std::fabs(Z[0]) + std::fabs(d0), t1 = std::fabs(Z[1]) + std::fabs(d1);
      g.scale_[i] = ((t0 + t1) + t0) + t1;
      g.reach_[i] = table.ReachRadius(r);
      g.zaddr_[i] = Address(Z);
      g.raddr_[i] = Address(table.ReachRadiusAt(r));
    }
    return MaskOf(took);
  }

  // One lean step of every lane in `mask`, after runs of the table where
  // the scalar step would take them; returns the lanes that did not take
  // the step (their state as the runs left it).
  [[gnu::always_inline]] int Step(TGroup& g, M act, int mask) {
    const V zero = L::Splat(0.0), one = L::Splat(1.0);
    // Before the step: the iteration limit or zval, a run of the table.
    // The step that samples zval is taken here (CycleTest 1), the one
    // that reaches the iteration limit is not.
    const M due = L::And(act, L::Le(g.budget_, zero));
    const M sample = L::And(due, L::Gt(g.samples_, zero));
    M ev = L::And(due, L::Not(sample));
    M tab = L::And(L::And(act, L::Not(due)), L::Gt(g.reach_, Abs(g.d0_) + Abs(g.d1_)));
    M ran = L::And(tab, L::Not(tab));
    if (slots_ > 1) {
      ev = L::Or(ev, tab);  // the plain loop takes the runs
    } else if (L::Bits(tab) != 0) {
      // The scalar step searches the table where the value before lies on
      // the same orbit one index back, or at index 1 of orbit 1.
      tab = L::And(tab, L::Or(L::And(L::Eq(g.pid_, g.orbit_id_), L::Eq(g.pr_, g.r_ - one)),
                              L::And(L::Eq(g.r_, one), L::Eq(g.orbit_id_, one))));
      if (L::Bits(tab) != 0) {
        ran = RunsFromOne(g, tab);
        const M rest = L::And(tab, L::Not(ran));
        if (L::Bits(rest) != 0) ran = L::Or(ran, Runs(g, rest));
        ev = L::Or(ev, L::And(ran, L::Le(g.budget_, zero)));  // no step left before the limit
      }
    }
    // A fresh history is tested as after runs.
    if (g.fresh_bits != 0) ran = L::Or(ran, L::And(act, MaskOf(g.fresh_bits)));
    const M go = L::And(act, L::Not(ev));
    // Rebase.
    const V zn = ((Abs(g.z0_) + Abs(g.z1_)) + Abs(g.z0_)) + Abs(g.z1_);
    const V dn = ((Abs(g.d0_) + Abs(g.d1_)) + Abs(g.d0_)) + Abs(g.d1_);
    const V near = dn * L::Splat(kRebaseWithin);
    M rb = L::Or(L::Ge(g.r_, g.len_ - one), L::And(L::Gt(g.r_, zero), L::Gt(near, zn)));
    rb = L::And(rb, L::Not(L::And(L::Eq(g.orbit_id_, one), L::Eq(g.r_, zero))));
    const V a = L::Select(rb, g.z0_, g.d0_), b = L::Select(rb, g.z1_, g.d1_);
    const V Zc0 = L::Select(rb, rz0_, g.zc0_), Zc1 = L::Select(rb, rz1_, g.zc1_);
    const V nid = L::Select(rb, one, g.orbit_id_);
    const V nr = L::Select(rb, zero, g.r_) + one;
    const V nlen = L::Select(rb, rlen_, g.len_);
    // The step (orbit 2 the copy of orbit 1: Z2 = Z0, Z3 = Z1).
    V n0, n1;
    if constexpr (F == 1000) {
      n0 = (Twice(Zc0) + a) * a - (Twice(Zc1) + b) * b + g.dcx_;
      n1 = Twice(Zc0 * b + (Zc1 + b) * a) + g.dcy_;
    } else if constexpr (F == 1001) {
      n0 = (Twice(Zc0) + a) * a + (Twice(Zc1) + b) * b + g.dcx_;
      n1 = g.dcy_;
    } else {
      n0 = Twice(Zc0 * b + (Zc1 + b) * a) + g.dcy_;
      n1 = (Twice(Zc0) + a) * a - (Twice(Zc1) + b) * b + g.dcx_;
    }
    // The reference at the new index, and where the table may offer a run.
    const M rbGo = L::And(rb, go);
    const A nz = SelectAt(rbGo, rebased_z_, g.zaddr_ + 32);
    const A nreach = SelectAt(rbGo, rebased_reach_, g.raddr_ + 8);
    const V g0 = GatherAt(nz, go), g1 = GatherAt(nz + 8, go);
    const V reach = table_[0] != nullptr ? GatherAt(nreach, go) : zero;
    const V an0 = Abs(n0), an1 = Abs(n1);
    M ev2 = L::Gt(L::Splat(0x1p-950), Max(an0, an1));  // the extended type may take over
    const V w0 = g0 + n0, w1 = g1 + n1;
    const V t0 = Abs(g0) + an0, t1 = Abs(g1) + an1;
    const V scale = ((t0 + t1) + t0) + t1;
    const V aw0 = Abs(w0), aw1 = Abs(w1);
    // An escape ends the pixel. With CycleTest 1 the lane takes that step
    // too where the cycle test decides it as the plain loop would (no
    // slot within the tolerance), except the one that samples zval.
    const M esc = L::Gt(((aw0 + aw1) + aw0) + aw1, L::Splat(P_.max_abs));
    ev2 = L::Or(ev2, slots_ > 1 ? esc : L::And(esc, sample));
    // Slot 1, decided by the doubles only while its distance is large.
    const V e0 = Abs(w0 - g.z0_), e1 = Abs(w1 - g.z1_);
    const V est = ((e0 + e1) + e0) + e1;
    const V c0 = aw0 + Abs(g.z0_), c1 = aw1 + Abs(g.z1_);
    const V cscale = ((((c0 + c1) + c0) + c1)) + (scale + g.scale_);
    ev2 = L::Or(ev2, L::NotGe(est, cscale * L::Splat(kTrackBelow)));
    ev2 = L::Or(ev2, L::Gt(L::Splat(P_.acc_d), est));
    if (L::Bits(ran) != 0) {
      // After runs, the slot's first distance as the plain loop measures
      // it when the history starts again.
      const V f0 = (c0 + scale) + g.scale_, f1 = (c1 + scale) + g.scale_;
      const V first = ((f0 + f1) + f0) + f1;
      ev2 = L::Or(ev2, L::And(ran, L::NotGe(est, first * L::Splat(kTrackBelow))));
    }
    if (slots_ > 1) {
      // Slots 2 ... CycleTest against the ring; the value this step
      // started from goes to the head (for a lane that does not take the
      // step that place is its unused oldest one).
      const V K = L::Splat(kTrackBelow), acc = L::Splat(P_.acc_d);
      int place = g.head;
      for (int i = 2; i <= slots_; ++i) {
        place = place == 0 ? rs_ - 1 : place - 1;
        const V* o = g.ring + place * kRingFields;
        const V f0 = Abs(w0 - o[0]), f1 = Abs(w1 - o[1]);
        const V est2 = ((f0 + f1) + f0) + f1;
        const V b0 = aw0 + Abs(o[0]), b1 = aw1 + Abs(o[1]);
        const V cs2 = (((b0 + b1) + b0) + b1) + (scale + o[2]);
        ev2 = L::Or(ev2, L::Or(L::NotGe(est2, cs2 * K), L::Gt(acc, est2)));
      }
      V* h = g.ring + g.head * kRingFields;
      h[0] = g.z0_, h[1] = g.z1_, h[2] = g.scale_, h[3] = g.orbit_id_, h[4] = g.r_;
      h[5] = g.d0_, h[6] = g.d1_;
      g.head = g.head + 1 == rs_ ? 0 : g.head + 1;
    }
    const M take = L::And(go, L::Not(ev2));
    // The lanes that took it move on; their current value becomes the one
    // before. Where every lane took it (most steps), no lane keeps its old
    // values, and they move without blending.
    const auto move = [&](const auto& pick, const auto& pickAt) {
      g.pid_ = pick(g.orbit_id_, g.pid_);
      g.pr_ = pick(g.r_, g.pr_);
      g.pd0_ = pick(g.d0_, g.pd0_);
      g.pd1_ = pick(g.d1_, g.pd1_);
      g.pz0_ = pick(g.z0_, g.pz0_);
      g.pz1_ = pick(g.z1_, g.pz1_);
      g.pscale_ = pick(g.scale_, g.pscale_);
      g.orbit_id_ = pick(nid, g.orbit_id_);
      g.r_ = pick(nr, g.r_);
      g.len_ = pick(nlen, g.len_);
      g.d0_ = pick(n0, g.d0_);
      g.d1_ = pick(n1, g.d1_);
      g.z0_ = pick(w0, g.z0_);
      g.z1_ = pick(w1, g.z1_);
      g.zc0_ = pick(g0, g.zc0_);
      g.zc1_ = pick(g1, g.zc1_);
      g.scale_ = pick(scale, g.scale_);
      g.reach_ = pick(reach, g.reach_);
      g.zaddr_ = pickAt(nz, g.zaddr_);
      g.raddr_ = pickAt(nreach, g.raddr_);
    };
    if (L::Bits(take) == (1 << W) - 1) {
      move([&](const V& a, const V&) { return a; }, [&](const A& a, const A&) { return a; });
    } else {
      move([&](const V& a, const V& b) { return L::Select(take, a, b); },
           [&](const A& a, const A& b) { return SelectAt(take, a, b); });
    }
    const V counted = L::Select(take, one, zero);
    g.done_ = g.done_ + counted;
    g.plain_ = g.plain_ + counted;
    g.budget_ = g.budget_ - counted;
    const M sampled = L::And(take, sample);
    if (L::Bits(sampled) != 0) {
      // zval as the plain loop takes it: the step's length squared. The
      // next limit is the iteration limit.
      g.zval_ = L::Select(sampled, e0 * e0 + e1 * e1, g.zval_);
      g.sampled_ = L::Select(sampled, one, g.sampled_);
      g.samples_ = L::Select(sampled, zero, g.samples_);
      g.budget_ = L::Select(sampled, L::Splat(static_cast<double>(P_.max_iter - P_.zval_at)),
                            g.budget_);
    }
    g.ran_bits = L::Bits(L::And(ran, L::Not(take)));
    g.fresh_bits &= ~L::Bits(take);
    g.escaped_bits = L::Bits(L::And(take, esc));
    return mask & ~L::Bits(L::And(take, L::Not(esc)));
  }

  static M MaskOf(int bits) {
    if constexpr (std::is_integral_v<M>) {
      return static_cast<M>(bits);
    } else {
      M m = L::Not(L::Eq(L::Splat(0.0), L::Splat(0.0)));  // all clear
      for (int i = 0; i < W; ++i) m[i] = (bits >> i & 1) != 0 ? -1 : 0;
      return m;
    }
  }

  static unsigned long long Address(const double* p) {
    return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p));
  }

  int Id(const TReferenceOrbit* ref) const { return ref == P_.rebase ? 1 : 0; }

  // Lane i from a scalar lane (as LeanLoad or the scalar step left it).
  void Insert(TGroup& g, int i, const TDeepPixel& x, const TLeanLane& l) {
    if (slots_ > 1) {
      // The pixel's earlier values into the ring, behind the group's head.
      int from = x.head, to = g.head;
      for (int m = 1; m < slots_; ++m) {
        from = from == 0 ? rs_ - 1 : from - 1;
        to = to == 0 ? rs_ - 1 : to - 1;
        const TDeepState& t = x.ring[from];
        V* o = g.ring + to * kRingFields;
        o[0][i] = t.z[0];
        o[1][i] = t.z[1];
        o[2][i] = t.scale;
        o[3][i] = Id(t.ref);
        o[4][i] = static_cast<double>(t.r);
        o[5][i] = t.ext ? t.f[0].ToDouble() : t.d[0];
        o[6][i] = t.ext ? t.f[1].ToDouble() : t.d[1];
      }
    }
    const int id = Id(l.ref);
    g.orbit_id_[i] = id;
    g.r_[i] = static_cast<double>(l.r);
    g.len_[i] = static_cast<double>(l.ref->Length());
    const double* Z = l.ref->Double(l.r);
    g.zc0_[i] = Z[0];
    g.zc1_[i] = Z[1];
    g.reach_[i] = table_[id] != nullptr ? table_[id]->ReachRadius(l.r) : 0.0;
    g.zaddr_[i] = Address(Z);
    g.raddr_[i] = table_[id] != nullptr ? Address(table_[id]->ReachRadiusAt(l.r)) : 0;
    g.d0_[i] = l.d0;
    g.d1_[i] = l.d1;
    g.z0_[i] = l.z[0];
    g.z1_[i] = l.z[1];
    g.scale_[i] = l.scale;
    g.pid_[i] = Id(l.pref);
    g.pref_[i] = l.pref;
    g.pr_[i] = static_cast<double>(l.pr);
    g.pd0_[i] = l.pd0;
    g.pd1_[i] = l.pd1;
    g.pz0_[i] = l.pz[0];
    g.pz1_[i] = l.pz[1];
    g.pscale_[i] = l.pscale;
    g.dcx_[i] = x.dcxd;
    g.dcy_[i] = x.dcyd;
    g.done0_[i] = l.done;
    g.plain0_[i] = l.plain;
    const bool fresh = slots_ == 1 && x.filled == 0 && l.done == 0;
    g.fresh_bits = fresh ? g.fresh_bits | 1 << i : g.fresh_bits & ~(1 << i);
    g.head0_[i] = slots_ > 1 ? x.head : l.head;  // the ring's head, or the parity of two
    g.done_[i] = g.plain_[i] = 0;
    // Steps to the next limit event: the one that samples zval, else the
    // iteration limit.
    const int64_t now = static_cast<int64_t>(x.it) + l.done;
    g.budget_[i] = static_cast<double>(now < P_.zval_at ? P_.zval_at - 1 - now : P_.max_iter - now);
    g.samples_[i] = slots_ == 1 && now < P_.zval_at ? 1.0 : 0.0;
    g.sampled_[i] = g.zval_[i] = 0;
  }

  // The scalar lane of lane i, as the scalar steps would have left it.
  void Extract(const TGroup& g, int i, TDeepPixel& x, TLeanLane& l) const {
    if (slots_ > 1) {
      // The values the lane took in the vector go back into the pixel's
      // ring (the older ones are still there); the lane's last step was
      // not taken, so its head is one place behind the group's.
      const int taken = static_cast<int>(Lane(g.done_, i));
      const int head = static_cast<int>((g.head0_[i] + taken) % rs_);
      int from = g.head == 0 ? rs_ - 1 : g.head - 1;
      int to = head;
      for (int m = 1; m <= std::min(taken, slots_); ++m) {
        from = from == 0 ? rs_ - 1 : from - 1;
        to = to == 0 ? rs_ - 1 : to - 1;
        const V* o = g.ring + from * kRingFields;
        const double z[4] = {Lane(o[0], i), Lane(o[1], i), Lane(o[0], i), Lane(o[1], i)};
        PutLean(x.ring[to], orbit_[Lane(o[3], i) != 0 ? 1 : 0], static_cast<int64_t>(Lane(o[4], i)),
                Lane(o[5], i), Lane(o[6], i), z, Lane(o[2], i));
        x.Mirror(to, z[0], z[1], Lane(o[2], i));
      }
      x.head = head;
    }
    const int taken = static_cast<int>(Lane(g.done_, i));
    const int plain = static_cast<int>(Lane(g.plain_, i));
    l.ref = orbit_[Lane(g.orbit_id_, i) != 0 ? 1 : 0];
    l.r = static_cast<int64_t>(Lane(g.r_, i));
    l.d0 = Lane(g.d0_, i);
    l.d1 = Lane(g.d1_, i);
    l.z[0] = l.z[2] = Lane(g.z0_, i);
    l.z[1] = l.z[3] = Lane(g.z1_, i);
    l.scale = Lane(g.scale_, i);
    // Before any step in the vector the value before is the loaded one
    // (which may lie on neither orbit's index the lanes track exactly).
    l.pref = plain > 0 ? orbit_[Lane(g.pid_, i) != 0 ? 1 : 0] : g.pref_[i];
    l.pr = static_cast<int64_t>(Lane(g.pr_, i));
    l.pd0 = Lane(g.pd0_, i);
    l.pd1 = Lane(g.pd1_, i);
    l.pz[0] = l.pz[2] = Lane(g.pz0_, i);
    l.pz[1] = l.pz[3] = Lane(g.pz1_, i);
    l.pscale = Lane(g.pscale_, i);
    l.done = g.done0_[i] + taken;
    l.plain = g.plain0_[i] + plain;
    l.head = g.head0_[i] ^ (plain & 1);
    l.approximated = false;
    l.ran = (g.ran_bits >> i & 1) != 0;
    if (Lane(g.sampled_, i) != 0) {
      x.zval = Lane(g.zval_, i);
      x.sampled = true;
    }
  }

  TDeepPixelRunner& run_;
  const TDeepPicture& P_;
  const TReferenceOrbit* orbit_[2];
  const TApproximationTable* table_[2];
  V rz0_, rz1_;  // orbit 1 at index 0
  V rlen_;        // and its length
  TGroup groups_[G] = {};  // lanes without a pixel hold zeros
  int slots_ = 1, rs_ = 2;  // cycle-test slots, ring places
  std::vector<double> ring_;  // the groups' rings
  // Where a rebased lane reads next (index 1 of orbit 1).
  A rebased_z_, rebased_reach_;
};

}  // namespace ork::deep
