// The coordinate grid's texts in both languages.
#pragma once

#include "model/language.h"

namespace ork::grid_texts {

inline constexpr TText2 kChanged{"Hinweis: Gittergrössen wurden geändert ! dX=",
                                 "Note: Grid sizes were changed! DX ="};
inline constexpr TText2 kMenu{"--> Menü Einfügen - Gittergrössen neu..",
                              "-> Insert menu - new grid sizes .."};
inline constexpr TText2 kPleaseWait{"Bitte warten ...", "Please wait ..."};

}  // namespace ork::grid_texts
