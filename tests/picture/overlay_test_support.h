// Small pictures, keyframes and a recording host for the overlay tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/render.h"
#include "model/host.h"
#include "model/list_syntax.h"
#include "model/parameter.h"

namespace ork::overlay_test {

inline constexpr uint32_t kBlack = 0xFF000000u;
inline constexpr uint32_t kWhite = 0xFFFFFFFFu;
inline constexpr uint32_t kGrey = 0xFF808080u;

class TRecordingHost : public THost {
 public:
  void PostCommand(int command) override { commands.push_back(command); }
  void StatusText(const std::string& text) override { status.push_back(text); }
  void Diagnostic(const std::string& line) override { diagnostics.push_back(line); }
  std::vector<int> commands;
  std::vector<std::string> status;
  std::vector<std::string> diagnostics;
};

// A keyframe of W x H pixels showing the plane height bry around (0, 0),
// default line styles.
inline TParameter Keyframe(int W, int H, double bry = 2) {
  TParameter key;
  key.OutputWidth = W;
  key.OutputHeight = H;
  key.bry = bry;
  key.brx = bry * W / H;
  ResetLineStyles(key);
  return key;
}

// A render object of W x H pixels whose pictures are filled with `fill`.
inline TRender Render(int W, int H, uint32_t fill = kGrey) {
  TRender render;
  render.Width = W;
  render.Height = H;
  render.Image = std::make_shared<TPixmap>(W, H, fill);
  render.ImageD = std::make_shared<TPixmap>(2 * W, H, fill);
  render.ImageV = std::make_shared<TPixmap>(2 * W, 2 * H, fill);
  return render;
}

// Pixels of `p` that differ from `fill`.
inline int Changed(const TPixmap& p, uint32_t fill = kGrey) {
  int n = 0;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) n += p.Get(x, y) != fill;
  return n;
}

}  // namespace ork::overlay_test
