// Two-language texts of the colouring.
#pragma once

#include "model/language.h"

namespace ork::color_texts {

// Status text after a blur: "Filter " + level + this.
inline constexpr TText2 kFilterPrefix{"Filter ", "Filter "};
inline constexpr TText2 kFilterApplied{" angewendet", " applied"};

}  // namespace ork::color_texts
