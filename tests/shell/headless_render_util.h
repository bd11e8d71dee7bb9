// The desktop program's picture against the headless renderer's: render a
// movie file without a window, and count the pixels two PNG files differ in.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>

#include "picture/picture_files.h"
#include "shell/render_cli.h"

namespace ork::test {

// Renders the movie's current keyframe into `out` in working folder `dir`,
// as `orkelund-render --quiet` does; the status, and the messages in `err`.
inline int RenderHeadless(const std::filesystem::path& dir, const std::filesystem::path& movie,
                          const std::filesystem::path& out, std::string& err) {
  TRenderOptions options;
  options.WorkDir = dir.string();
  options.Movie = movie.string();
  options.Outs = {out.string()};
  options.Quiet = true;
  std::ostringstream outText, errText;
  const int status = RunRender(options, outText, errText);
  err = errText.str();
  return status;
}

// How two PNG files compare: the pixels they differ in (-1 when either is
// missing or their sizes differ), and the pixels of the first that differ
// from its top-left one (0 for one flat colour).
struct TPictureComparison {
  int differing = -1;
  int colours = 0;
};
inline TPictureComparison ComparePngs(const std::filesystem::path& a,
                                      const std::filesystem::path& b) {
  TPictureComparison c;
  const TPixmapPtr pa = LoadPng(a.string()), pb = LoadPng(b.string());
  if (!pa || !pb || pa->Width() != pb->Width() || pa->Height() != pb->Height()) return c;
  c.differing = 0;
  const uint32_t first = pa->Get(0, 0);
  for (int y = 0; y < pa->Height(); ++y) {
    for (int x = 0; x < pa->Width(); ++x) {
      c.differing += pa->Get(x, y) != pb->Get(x, y);
      c.colours += pa->Get(x, y) != first;
    }
  }
  return c;
}

}  // namespace ork::test
