// Texts inside the program are ISO-8859-1 byte strings, as the files hold
// them. Source files are UTF-8, so literal texts with umlauts pass through
// Latin1() once.
#pragma once

#include <string>
#include <string_view>

namespace ork {

// Converts UTF-8 to ISO-8859-1; characters beyond U+00FF become '?'.
std::string Latin1(std::string_view utf8);

}  // namespace ork
