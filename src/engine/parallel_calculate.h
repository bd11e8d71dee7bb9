// The picture loop on several threads, with results identical to the
// sequential row order.
//
// Pixels depend on the pixels before them only through the cycle history
// (slots 2 ... CycleTest) and zval. Helper threads compute rows ahead into
// scratch rows, each segment starting from a guessed history (the latest
// committed one, warmed up on the pixels before the segment). The calling
// thread commits rows in order: it checks each segment's guess against the
// true history bit for bit and, on a mismatch, recomputes pixels from the
// true history until a run of them has ended with the guessed iteration
// counts and so refilled the history, or until the true history is the one
// the guessed pixels went on from (from there both agree). zval is settled
// at commit: a pixel that did not reach the sampling iteration takes the
// value of the pixel before it. When the guesses keep failing, the calling
// thread goes on alone. Helpers start only after a short lead-in on the
// calling thread: a picture done by then never pays for them.
#pragma once

#include <chrono>
#include <functional>

#include "engine/render.h"
#include "engine/row_kernel.h"

namespace ork {

// The render object's arrays at the start of `row`, as the iteration writes
// them; `it` (optional) receives the iterations of each pixel.
TRowBuffers RenderRowBuffers(TRender& render, int row, int32_t* it = nullptr);

// Called by the calling thread before row `row` is committed; false stops
// the computation at once (rows not committed keep their old values).
using TBeforeRow = std::function<bool(int row)>;

// How long the calling thread computes alone before helpers start (1 ms,
// kParallelLeadIn: a quick picture keeps it for itself, and a picture of a
// few hundredths of a second loses little to it; tests set 0 to see the
// helpers at work on small pictures).
inline constexpr std::chrono::microseconds kParallelLeadIn{1000};
void SetParallelLeadIn(std::chrono::microseconds leadIn);

// The longest cycle test whose rows are computed in parallel: every scratch
// row keeps whole histories (32 bytes a slot); longer ones compute one
// pixel after the other, their memory following the values pushed.
inline constexpr int kMostParallelCycleTest = 16384;

// Makes the kernel one computing thread uses.
using TKernelFactory = std::function<std::unique_ptr<TRowKernel>(const TPictureJob&)>;

// Computes every row of job into render's per-pixel arrays (sized for the
// job) with `threads` computing threads in all. Returns false when
// beforeRow stopped it.
// How the last parallel computation of the process went: shown by the
// renderer's --verbose, read by tests that must see the checks at work.
struct TParallelStats {
  int threads = 0;
  int rows = 0;
  int lead_in_rows = 0;       // rows computed before helpers started (all: none did)
  int segments_checked = 0;   // segments started from a guessed history
  int segments_repaired = 0;  // of those, the ones whose guess was wrong
  long long pixels_recomputed = 0;
  bool went_alone = false;  // the guesses failed so often that helpers stopped
};
TParallelStats LastParallelStats();
// Back to "no parallel computation" (a picture computed sequentially).
void ClearParallelStats();

bool CalculateRowsParallel(const TPictureJob& job, TRender& render, int threads,
                           const TKernelFactory& makeKernel, const TBeforeRow& beforeRow);

}  // namespace ork
