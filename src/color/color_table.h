// Colour tables: the three integer tables (red, green, blue) that a colour
// index is looked up in, filled from the keyframe's table number (farbtab),
// the factors fact3 (F3) and fact4 (F4, the number of colours) and the
// colour shift (ColShift).
//
// Entries 0 .. n - 1 are written, n = min(table size, trunc(F4)); entries
// from n on keep their contents (table 23 also keeps entry n - 1). Entries
// are intensities 0..255; tables 18, 19, 20 can leave unclamped entries
// below 0, which stay so.
//
// Choices for values the colouring windows never offer:
// - function tables with n below 255 (normalisation divisor 0) are white;
// - i mod 0 (tables 17..22 with F4 below 4) counts as 0;
// - gradient tables 14 and 15 with fewer than one key use one key (black);
// - a negative colour shift or remainder turns the table the other way
//   (the remainder is taken non-negative);
// - F4 below 1 or not a number fills nothing.
#pragma once

#include "engine/render.h"
#include "model/parameter.h"

namespace ork {

// Writes the defaults back into the keyframe (fact3 0 -> 1, fact1 0 -> 30,
// fact4 0 -> 2048), fills red, green, blue (each `size` entries) and turns
// them by the colour shift. Never reads or writes outside the tables.
void BuildColorTable(TParameter& keyframe, int* red, int* green, int* blue, int size);

// The same into the render object's ColR, ColG, ColB (only the defaults are
// written when a table is missing).
void BuildColorTable(TParameter& keyframe, TRender& render);

// Entry i of each table becomes the former entry (i + shift) mod c,
// i = 0 .. c - 1, c = min(size, trunc(F4)); nothing for c < 1 or shift 0.
void ShiftColorTable(int* red, int* green, int* blue, int size, double F4, int shift);

}  // namespace ork
