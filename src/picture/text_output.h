// Printing a keyframe's text list (TextOutputList) into the composed
// picture with the bitmap fonts: names and values of keyframe fields, or
// fixed texts, one line per entry.
//
// Entries are separated by ":". An entry enclosed in "(" ")" (tested on
// the untrimmed entry) has the fields X, Y, Label, Name, Decimals, Font;
// any other non-blank entry is a bare Name printed as Name + "=" + value.
// The position (start 8, 4), the decimals (start 5) and the font choice
// (start empty) carry from entry to entry; y moves down by the font's line
// height after each entry.
#pragma once

#include <string>

#include "engine/render.h"
#include "model/parameter.h"

namespace ork {

// Prints into the picture of `render` that ShownImage selects (Image below
// 2, ImageD at 2, ImageV at 4). With CompositionMode 222 every text is
// drawn render->Width - 1 pixels further right. Does nothing for a null
// keyframe or render object, an empty list or a missing picture. Uses the
// fonts of LoadBMPFonts (nothing is drawn with fonts not loaded).
void DrawTextOutput(TParameter* keyframe, TRender* render);

// The value text the list prints after the label for the keyframe field
// `name` ("MidPointX", "KeyNr", ...): reals with FormatNumber and
// `decimals`, integers in decimal. False for a name that has no value.
bool TextOutputValue(const TParameter& keyframe, const std::string& name, int decimals,
                     std::string& value);

}  // namespace ork
