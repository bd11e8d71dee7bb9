// The shell's BeginnerName (which beginner help picture is due) is touched
// by painting (emptied) and by the blur filter ("1" becomes "2"). The shell
// points this slot at its own variable; while it is null (the default)
// nothing is touched.
#pragma once

#include <string>

namespace ork {

std::string*& BeginnerNameSlot();

}  // namespace ork
