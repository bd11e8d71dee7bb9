#include "model/latin1.h"

namespace ork {

std::string Latin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    int extra = (c >= 0xF0) ? 3 : (c >= 0xE0) ? 2 : (c >= 0xC0) ? 1 : 0;
    unsigned cp = c & (0x3F >> extra);
    size_t j = i + 1;
    for (int k = 0; k < extra && j < utf8.size(); ++k, ++j) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[j]) & 0x3F);
    }
    out.push_back(extra > 0 && cp <= 0xFF ? static_cast<char>(cp) : '?');
    i = (extra > 0) ? j : i + 1;
  }
  return out;
}

}  // namespace ork
