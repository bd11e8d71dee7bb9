// The render object: everything that belongs to one picture size. The
// per-pixel results of the iteration, the pictures painted from them, the
// colour tables and the recorded orbit of one selected pixel.
//
// Per-pixel arrays are indexed row * Width + column, row 0 at the top. The
// pictures and the colour tables are shared between copies (Copy), the
// per-pixel arrays are not. Init replaces every buffer as a whole.
//
// Operations on a render object that belong to other subsystems (the blur
// filter, drawing into panels, saving, overlays) are free functions there,
// taking the render object as their first argument.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/big_buffer.h"
#include "engine/pixmap.h"
#include "model/host.h"
#include "model/parameter.h"

namespace ork {

using TColorTable = std::vector<int>;
using TColorTablePtr = std::shared_ptr<TColorTable>;

class TRender {
 public:
  static constexpr int kCodings = 40;

  int Width = 0;   // picture size in pixels
  int Height = 0;
  int PaintOffsetX = 0;  // offsets when the picture is drawn into a panel
  int PaintOffsetY = 0;
  TPixmapPtr Image;     // single picture, Width x Height
  TPixmapPtr ImageD;    // double picture, 2*Width x Height (see NeedImageD)
  TPixmapPtr ImageV;    // fourfold picture, 2*Width x 2*Height (see NeedImageV)
  TPixmapPtr ImageDyn;  // orbit picture slot; Init leaves it alone
  TBigVector<double> bildX, bildY;  // final x1, y1 of orbit 1
  TBigVector<double> bildP, bildT;  // final x2, y2 of orbit 2
  TBigVector<double> bildZ;         // sampled squared step length (zval)
  TBigVector<int32_t> ibild;        // count: iterations plus outcome offsets
  TBigVector<int32_t> zycbild;      // cycle period of the last iteration, 0 none
  // Per-pixel results nothing will read this time (bits of TUnread): a
  // picture painted once and not kept, whose colouring reads only some of
  // them. The computation then leaves those arrays untouched, so their
  // fresh memory is never faulted in; what they hold is undefined. 0 (the
  // default) keeps every array.
  enum TUnread : unsigned {
    kUnreadX = 1,
    kUnreadY = 2,
    kUnreadP = 4,
    kUnreadT = 8,
    kUnreadZ = 16,
    kUnreadPeriod = 32,
  };
  unsigned unread = 0;
  // Whether the arrays' memory may still be unmapped in places (new arrays,
  // or a computation stopped before the last row): the threads that
  // compute rows ahead then map their rows' pages, so that the page faults
  // are not all taken by the committing thread. Once every row has been
  // written it is false, and nothing is mapped for nothing.
  bool fresh_pages = true;
  int colz = 0;   // colour-table length (4096 after Init)
  int colzh = 0;  // colz / 2
  int colzv = 0;  // colz / 4
  TColorTablePtr ColR, ColG, ColB;  // colz entries each, filled by the colouring
  std::array<std::string, kCodings> Coding;  // description of each colour coding
  // Orbit of the selected pixel: empty until a dynamics computation records
  // one, then grown as the orbit needs (see kMaxOrbitPoints).
  std::vector<double> DynX, DynY;

  // The most orbit points a record holds (DynX[1 .. kMaxOrbitPoints], 33.5 MB
  // per array): an orbit longer than that, possible only with a Max_Iterat
  // above it, is recorded up to there.
  static constexpr int kMaxOrbitPoints = 1 << 22;

  // Sizes from the keyframe's OutputWidth/OutputHeight (negative counts as 0),
  // a black single picture, all arrays and tables zero, DynX/DynY released.
  // ImageDyn and Coding stay as they are. The double and fourfold pictures
  // are not created here (see NeedImageD).
  //
  // A render object of the same size keeps its buffers and clears them, so
  // that a film does not fault in fresh memory for every frame; pictures
  // held elsewhere as well (a Copy, a picture handed on) are replaced
  // instead. Buffers of another size are allocated before the old ones are
  // released, and released buffers give their memory back.
  //
  // Throws TAllocationError (engine/allocation.h) when the buffers cannot be
  // had: refused when their size exceeds the allocation limit (for new
  // buffers: what the machine can give now, MemoryLeft) or when the
  // allocator fails. Either way the render object stays as it was, its
  // picture included.
  void Init(const TParameter& keyframe);

  // The double and fourfold pictures, created black when a composition
  // first needs them (a single picture never does) and kept by Init for
  // the same size. Null while the render object has no size. Throw
  // TAllocationError when the picture cannot be had.
  const TPixmapPtr& NeedImageD();
  const TPixmapPtr& NeedImageV();

  // Same size; shares the pictures and colour tables, copies the arrays.
  TRender Copy() const;

  int PixelCount() const { return Width * Height; }

 private:
  void ClearArrays();
};

// Bytes that Init allocates for a picture of width x height pixels (the
// arrays and the single picture).
double RenderBytes(double width, double height);

// Called after the picture loop while DynamicsMode != 0 (also after a
// cancel) to draw the orbit picture. `acc` is the cycle tolerance in force
// when the selected pixel ended; n the number of recorded points (DynX[1..n],
// DynY[1..n]); maxX/maxY the largest |DynX|/|DynY| recorded (0 when none).
// Before the call DynX[0] = acc and DynY[0] = n are already written.
struct TOrbitRecord {
  double acc = 0;
  int n = 0;
  double maxX = 0;
  double maxY = 0;
};
using TOrbitPictureHook = void (*)(TRender& render, const TParameter& keyframe,
                                   const TOrbitRecord& orbit);
// The orbit-picture drawer registers itself here; none is registered at
// start, and then nothing is drawn.
void SetOrbitPictureHook(TOrbitPictureHook hook);
TOrbitPictureHook OrbitPictureHook();

// The picture loop: maps every pixel of the keyframe's picture into the
// plane, iterates it and stores the results in `render` (not while
// DynamicsMode != 0: then only the pixel (Mpox, Mpoy) is iterated to its
// end and recorded in DynX/DynY).
//
// Writes back into the keyframe: brx = bry * OutputWidth / OutputHeight and
// zyctest raised to at least 1. `status` may be null (no progress text, no
// cancel, no pauses, diagnostic lines to standard output); otherwise it
// receives the progress text per row, is polled once per row (PollCancel:
// -1 stops at once, rows not reached keep their previous values; 1 calls
// `showIntermediate`, which paints the buffers computed so far) and takes
// the diagnostic lines, and the loop sleeps 60 ms whenever more than 500 ms
// have passed since the last pause, so that the desktop stays responsive. In normal mode a render object of another size
// than the keyframe's is initialised for it first (instead of writing past
// its arrays); in dynamics mode it is left as it is, and DynX/DynY keep what
// they hold beyond the recorded points and grow as the orbit needs, up to
// min(Max_Iterat + 1, TRender::kMaxOrbitPoints) points.
//
// Throws TAllocationError when the buffers of an Init or the orbit record
// cannot be had.
//
// Returns false when the user cancelled, true otherwise.
bool Calculate(TParameter& keyframe, THost* status, TRender& render,
               const std::function<void()>& showIntermediate = {});

}  // namespace ork
