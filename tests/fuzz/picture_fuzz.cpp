// Feeds arbitrary bytes to the picture readers (PNG, JPEG and BMP, chosen
// by the first bytes as for every picture the program loads).
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "picture/picture_files.h"

using ork::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = ork::fuzz::WriteFuzzFile("picture", ork::fuzz::Bytes(data, size));
  if (ork::TPixmapPtr picture = ork::LoadPicture(path)) {
    Check(picture->Width() >= 1 && picture->Width() <= ork::kMaxPictureSide &&
          picture->Height() >= 1 && picture->Height() <= ork::kMaxPictureSide);
  }
  return 0;
}
