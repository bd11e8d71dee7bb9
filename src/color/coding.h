// Colour codings: the stored results of one pixel (render buffers) turned
// into an index into the colour tables. The keyframe's SelectPicture picks
// one of 17 codings (a number of 1000 or more counts 1000 less), fact1 (F1)
// and fact2 (F2) parametrise it, fact4 (F4) bounds the index.
//
// Every coding yields an index in 0 .. n - 1 with n = min(colz, trunc(F4))
// (colz of the render object, never more than its colour tables hold).
// Real results pass TruncInt, so a logarithm of 0, not-a-number results and
// products beyond 32 bits end at index 0 through the final clamp. A modulus
// that truncates to 0 (coding 3 or 16 with |F1| < 1, coding 17 with n = 1,
// coding 1 when trunc(n / F1) is 0) gives index 0 for the pixel. With n < 1
// (F4 below 1) every pixel gets index 0.
//
// Painting a picture prepares a TCoder once and codes whole rows with it;
// the per-coding branch is chosen once per row, not per pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/render.h"
#include "model/parameter.h"

namespace ork {

// Everything a coding needs, read once from the keyframe and the render
// object. Holds pointers into the render object's buffers: valid while those
// buffers are not replaced (Init).
struct TCoder {
  int coding = 0;  // reduced SelectPicture; 0 and unknown numbers give index 0
  int n = 0;       // usable table entries
  int q = 0;       // trunc(n / 4)
  double F1 = 0, F2 = 0;
  bool mod1 = false;   // coding 1: n > 2 * F1
  int32_t div1 = 0;    // coding 1: trunc(n / F1)
  int32_t intF1 = 0;   // codings 3, 16: trunc(F1)
  const double* x = nullptr;
  const double* y = nullptr;
  const double* p = nullptr;
  const double* z = nullptr;
  const int32_t* it = nullptr;
  const int32_t* zyc = nullptr;
  size_t count = 0;  // pixels the buffers hold (all of them, or 0)
};

// SelectPicture reduced by 1000 once when it is 1000 or more.
int ReducedCoding(int selectPicture);

// The render object's per-pixel results that coding `coding` does not
// read, as TRender::TUnread bits (every one of them for codings that give
// index 0 throughout).
unsigned CodingLeavesUnread(int coding);

// The description text of coding `coding` (1..17) with n usable entries;
// empty for other numbers.
std::string CodingText(int coding, int n);

// Prepares the coder and stores the coding's description text in
// render.Coding[coding] (only when it changed, so repeated paints do not
// allocate). When the render object's buffers are shorter than
// Width * Height, count is 0 and nothing is coded.
TCoder PrepareCoder(const TParameter& keyframe, TRender& render);

// Colour indices of `length` consecutive pixels starting at buffer index
// `first` (row * Width + column) into out[0 .. length - 1]. Pixels beyond
// the buffers get index 0.
void CodeRun(const TCoder& coder, size_t first, int length, int32_t* out);

// The index of one pixel; same result as CodeRun.
int32_t CodeIndex(const TCoder& coder, size_t index);

// One pixel at (column, row) of the render object: the colour-table index
// in 0 .. n - 1. Stores the coding's description text in render.Coding.
// A position outside the picture gives 0.
int CodePixel(int column, int row, const TParameter& keyframe, TRender& render);

}  // namespace ork
