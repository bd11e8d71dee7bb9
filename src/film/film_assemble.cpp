#include "film/film_assemble.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/worker_pool.h"
#include "film/film_lock.h"
#include "film/film_output.h"
#include "model/paths.h"
#include "picture/picture_files.h"

namespace ork {

namespace {

uint32_t BigEndian32(const uint8_t* b) {
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | uint32_t{b[3]};
}

// What is wrong with a frame file without decoding it: missing, not a PNG,
// of another size, or cut short (a complete PNG ends with its IEND chunk).
// Empty when it looks complete.
std::string FrameFileProblem(const std::string& path, int width, int height) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "missing";
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  static constexpr uint8_t kEnd[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  std::array<uint8_t, 24> head{};
  std::array<uint8_t, 12> tail{};
  const bool headRead = std::fread(head.data(), 1, head.size(), f) == head.size();
  const bool tailRead = headRead && std::fseek(f, -12, SEEK_END) == 0 &&
                        std::fread(tail.data(), 1, tail.size(), f) == tail.size();
  std::fclose(f);
  if (!headRead || std::memcmp(head.data(), kSignature, 8) != 0 ||
      std::memcmp(head.data() + 12, "IHDR", 4) != 0) {
    return "damaged (not a PNG picture)";
  }
  const uint32_t w = BigEndian32(head.data() + 16), h = BigEndian32(head.data() + 20);
  if (w != static_cast<uint32_t>(width) || h != static_cast<uint32_t>(height)) {
    return "damaged (" + std::to_string(w) + " x " + std::to_string(h) + " pixels, the film has " +
           std::to_string(width) + " x " + std::to_string(height) + ")";
  }
  if (!tailRead || std::memcmp(tail.data(), kEnd, 12) != 0) return "damaged (incomplete)";
  return {};
}

}  // namespace

std::string AssemblyFramePath(const TParameter& frame) {
  return NativePath("Output\\" + frame.FileNameKey + ".png");
}

TAssemblyResult AssembleFilm(const TParameterAnim& film, int frames, int width, int height,
                             const TFilmSettings& settings, THost& host, uint64_t aviFileLimit,
                             size_t maxProblems) {
  TAssemblyResult result;
  frames = std::min(frames, static_cast<int>(film.Parameter.size()) - 1);
  TFilmLock lock;
  if (!lock.Acquire(film.FileName, result.Error)) return result;
  size_t problems = 0;
  for (int i = 1; i <= frames; ++i) {
    const std::string path = AssemblyFramePath(film.Parameter[i]);
    const std::string problem = FrameFileProblem(path, width, height);
    if (problem.empty()) continue;
    if (++problems <= maxProblems)
      result.Problems.push_back("frame " + std::to_string(i) + ": " + path + " " + problem);
  }
  // A frame whose ends look right may still be damaged inside: every one is
  // decoded before the first byte of the film is written, so a refused
  // assembly never replaces an older film of the same name.
  if (problems == 0) {
    std::vector<char> unreadable(static_cast<size_t>(std::max(frames, 0)) + 1, 0);
    ParallelFor(frames, [&](int index) {
      const TPixmapPtr picture = LoadPng(AssemblyFramePath(film.Parameter[index + 1]));
      unreadable[index + 1] = !picture || picture->Width() != width || picture->Height() != height;
    });
    for (int i = 1; i <= frames; ++i) {
      if (unreadable[i] && ++problems <= maxProblems)
        result.Problems.push_back("frame " + std::to_string(i) + ": " +
                                  AssemblyFramePath(film.Parameter[i]) + " damaged (cannot be read)");
    }
  }
  if (problems > maxProblems)
    result.Problems.push_back("and " + std::to_string(problems - maxProblems) +
                              " more frames missing or damaged");
  if (problems > 0) return result;

  // Only the AVI and the videos: the frame pictures are there already.
  TFilmSettings output = settings;
  output.Jpg = output.Png = output.Bmp = false;
  TFilmFrameWriter writer(output, std::max(0, film.Count), host, aviFileLimit);
  bool ok = frames < 1 || writer.CheckOutputs(film.Parameter[1].FileNameKey);
  for (int i = 1; i <= frames && ok; ++i) {
    const TParameter& frame = film.Parameter[i];
    const TPixmapPtr picture = LoadPng(AssemblyFramePath(frame));
    if (!picture || picture->Width() != width || picture->Height() != height) {
      result.Problems.push_back("frame " + std::to_string(i) + ": " + AssemblyFramePath(frame) +
                                " damaged (cannot be read)");
      ok = false;
      break;
    }
    ok = writer.Write(*picture, frame.FileNameKey);
  }
  // A film not written whole is discarded: none of its files replaces one.
  ok = writer.Close(true) && ok;
  if (!ok) {
    if (result.Problems.empty())
      result.Error = writer.Failed() ? writer.Error() : "the film could not be written";
    return result;
  }
  if (writer.Avi().Kept()) result.FilmFiles.push_back(writer.Avi().Path());
  const std::vector<std::string>& videos = writer.Videos().Files();
  result.FilmFiles.insert(result.FilmFiles.end(), videos.begin(), videos.end());
  result.Ok = true;
  return result;
}

}  // namespace ork
