// Reads an AVI file back the way a player walks it: RIFF, the header list,
// the "movi" list and its chunks. Used by the film tests to check files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace ork::test {

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  std::fseek(f, 0, SEEK_END);
  long size = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  bytes.resize(static_cast<size_t>(size));
  if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) bytes.clear();
  std::fclose(f);
  return bytes;
}

inline uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

inline std::string CodeAt(const std::vector<uint8_t>& b, size_t at) {
  return std::string(reinterpret_cast<const char*>(b.data() + at), 4);
}

struct TAviCheck {
  bool ok = false;
  std::string error;
  uint32_t width = 0, height = 0, totalFrames = 0, streamLength = 0;
  uint32_t microsPerFrame = 0;
  uint32_t chunks = 0;  // "00db" chunks found in "movi"
  size_t firstChunkData = 0;
};

// Checks that every size field agrees with the bytes actually present.
inline TAviCheck CheckAvi(const std::vector<uint8_t>& b) {
  TAviCheck r;
  auto fail = [&](const std::string& e) {
    r.error = e;
    return r;
  };
  if (b.size() < 216) return fail("shorter than the header");
  if (CodeAt(b, 0) != "RIFF" || CodeAt(b, 8) != "AVI ") return fail("no RIFF AVI");
  if (U32At(b, 4) + 8ull != b.size()) return fail("RIFF size differs from file size");
  if (CodeAt(b, 12) != "LIST" || CodeAt(b, 20) != "hdrl") return fail("no hdrl");
  const size_t moviList = 20 + U32At(b, 16);
  if (moviList + 12 > b.size() || CodeAt(b, moviList) != "LIST" ||
      CodeAt(b, moviList + 8) != "movi")
    return fail("no movi list after hdrl");
  if (moviList + 8 + U32At(b, moviList + 4) != b.size()) return fail("movi size wrong");
  r.microsPerFrame = U32At(b, 32);
  r.totalFrames = U32At(b, 48);
  r.width = U32At(b, 64);
  r.height = U32At(b, 68);
  r.streamLength = U32At(b, 140);
  size_t at = moviList + 12;
  while (at + 8 <= b.size()) {
    if (CodeAt(b, at) != "00db") return fail("unexpected chunk in movi");
    const uint32_t size = U32At(b, at + 4);
    if (size != r.width * r.height * 4) return fail("frame chunk of wrong size");
    if (r.chunks == 0) r.firstChunkData = at + 8;
    at += 8 + size;
    ++r.chunks;
  }
  if (at != b.size()) return fail("trailing bytes");
  if (r.chunks != r.totalFrames || r.chunks != r.streamLength)
    return fail("frame count differs from the chunks present");
  r.ok = true;
  return r;
}

}  // namespace ork::test
