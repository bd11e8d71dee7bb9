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

// What a reader that follows the OpenDML indexes finds in a file.
struct TOpenDmlCheck {
  bool ok = false;
  std::string error;
  uint32_t avihFrames = 0, streamLength = 0, dmlhFrames = 0;
  uint32_t riffs = 0;            // RIFF chunks: "AVI " and each "AVIX"
  std::vector<uint64_t> frames;  // file offsets of the frames' pixels, in film order
};

// Reads the file in pieces (films beyond 1 GiB are not loaded whole):
// the RIFF chunks must fill the file exactly, the super index must list
// one standard index per RIFF chunk, and every index entry must point at a
// "00db" chunk of the stream's frame size inside that RIFF chunk.
inline TOpenDmlCheck CheckOpenDml(const std::string& path) {
  TOpenDmlCheck r;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    r.error = "cannot open";
    return r;
  }
  std::fseek(f, 0, SEEK_END);
  const uint64_t size = static_cast<uint64_t>(std::ftell(f));
  auto read = [&](uint64_t at, size_t n) {
    std::vector<uint8_t> b(n);
    if (at + n > size || std::fseek(f, static_cast<long>(at), SEEK_SET) != 0 ||
        std::fread(b.data(), 1, n, f) != n)
      b.clear();
    return b;
  };
  auto fail = [&](const std::string& e) {
    std::fclose(f);
    r.error = e;
    return r;
  };
  // The RIFF chunks, one after the other.
  std::vector<std::pair<uint64_t, uint64_t>> riffs;  // start, end
  for (uint64_t at = 0; at < size;) {
    const auto h = read(at, 12);
    if (h.empty() || CodeAt(h, 0) != "RIFF" || CodeAt(h, 8) != (at == 0 ? "AVI " : "AVIX"))
      return fail("no RIFF chunk at " + std::to_string(at));
    riffs.emplace_back(at, at + 8 + U32At(h, 4));
    at += 8 + uint64_t{U32At(h, 4)};
    if (at > size) return fail("RIFF chunk beyond the end of the file");
  }
  r.riffs = static_cast<uint32_t>(riffs.size());
  // The header list: main header, stream list with its super index, "odml".
  const auto hdrl = read(12, 12);
  if (hdrl.empty() || CodeAt(hdrl, 8) != "hdrl") return fail("no hdrl");
  const auto header = read(12, 8 + U32At(hdrl, 4));
  if (header.empty()) return fail("hdrl beyond the end of the file");
  r.avihFrames = U32At(header, 12 + 8 + 16);
  uint32_t frameSize = 0, indxEntries = 0;
  size_t indx = 0;
  bool dmlh = false;
  // Chunks of the list whose data starts at `from` and ends at `to`.
  auto walk = [&](auto&& self, size_t from, size_t to) -> void {
    for (size_t at = from; at + 8 <= to; at += 8 + ((U32At(header, at + 4) + 1) & ~1u)) {
      const std::string code = CodeAt(header, at);
      if (code == "LIST") {
        self(self, at + 12, at + 8 + U32At(header, at + 4));
      } else if (code == "strh") {
        r.streamLength = U32At(header, at + 8 + 32);
      } else if (code == "strf") {
        frameSize = U32At(header, at + 8 + 4) * U32At(header, at + 8 + 8) * 4;
      } else if (code == "indx") {
        indx = at;
        indxEntries = U32At(header, at + 12);
      } else if (code == "dmlh") {
        dmlh = true;
        r.dmlhFrames = U32At(header, at + 8);
      }
    }
  };
  walk(walk, 12, header.size());
  if (!indx || !dmlh) return fail("no indx or no dmlh");
  if (indxEntries != riffs.size()) return fail("indx entries differ from the RIFF chunks");
  for (uint32_t i = 0; i < indxEntries; ++i) {
    const size_t e = indx + 32 + 16 * i;
    const uint64_t ix = U32At(header, e) | (uint64_t{U32At(header, e + 4)} << 32);
    const auto h = read(ix, 32);
    if (h.empty() || CodeAt(h, 0) != "ix00" || U32At(h, 4) + 8 != U32At(header, e + 8))
      return fail("super index entry " + std::to_string(i) + " does not lead to ix00");
    const uint32_t n = U32At(h, 12);
    if (n != U32At(header, e + 12)) return fail("ix00 entries differ from the duration");
    if (ix < riffs[i].first || ix >= riffs[i].second) return fail("ix00 outside its RIFF");
    const uint64_t base = U32At(h, 20) | (uint64_t{U32At(h, 24)} << 32);
    const auto entries = read(ix + 32, size_t{8} * n);
    if (n && entries.empty()) return fail("ix00 beyond the end of the file");
    for (uint32_t k = 0; k < n; ++k) {
      const uint64_t data = base + U32At(entries, 8 * k);
      const auto chunk = read(data - 8, 8);
      if (chunk.empty() || CodeAt(chunk, 0) != "00db" || U32At(chunk, 4) != frameSize ||
          U32At(entries, 8 * k + 4) != frameSize || data + frameSize > riffs[i].second)
        return fail("index entry " + std::to_string(k) + " of ix00 " + std::to_string(i) +
                    " does not lead to a frame");
      r.frames.push_back(data);
    }
  }
  std::fclose(f);
  if (r.dmlhFrames != r.frames.size() || r.streamLength != r.frames.size())
    return fail("frame counts differ from the frames indexed");
  r.ok = true;
  return r;
}

}  // namespace ork::test
