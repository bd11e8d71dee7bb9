// Two-language texts of the fractal engine.
#pragma once

#include "model/language.h"

namespace ork::engine_texts {

// Progress text of the picture loop, followed by row + "/" + height.
inline constexpr TText2 kPleaseWaitLine{"Bitte warten, Zeile ", "Please wait, line "};

}  // namespace ork::engine_texts
