// Feeds arbitrary bytes to the bitmap font loader: the input is split into
// the font picture and its ".xywh" glyph table (the first two bytes give
// the picture's length), and the loaded font draws every character.
#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/pixmap.h"
#include "fuzz/fuzz_support.h"
#include "picture/bmp_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = ork::fuzz::Bytes(data, size);
  const size_t head = std::min<size_t>(size, 2);
  const size_t split = size < 2 ? 0 : std::min<size_t>(size - 2, data[0] | (data[1] << 8));
  const std::string path = ork::fuzz::WriteFuzzFile("font.bmp", bytes.substr(head, split));
  ork::fuzz::WriteFuzzFile("font.xywh", bytes.substr(head + split));
  auto font = ork::TBMPFont::Create(path);
  ork::TPixmap out(40, 30);
  font->OutputPixmap = &out;
  std::string all(256, ' ');
  for (int c = 0; c < 256; ++c) all[c] = static_cast<char>(c);
  for (int x : {-30, 0, 35}) font->Draw(x, x / 2, all);
  font->Width(all);
  font->Height(all);
  return 0;
}
