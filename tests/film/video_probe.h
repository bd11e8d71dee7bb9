// Reads video files back with FFmpeg's command-line tools, as a user's
// player would: the stream's properties through ffprobe, decoded frames
// through ffmpeg. Tests skip when the tools are not installed.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "engine/pixmap.h"

namespace ork::test {

// True when `tool` runs (ffprobe, ffmpeg and pngcheck all answer -h).
inline bool HaveTool(const std::string& tool) {
  return std::system((tool + " -h >/dev/null 2>&1").c_str()) == 0;
}

inline std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// ffprobe's view of the first video stream: codec_name, width, height,
// pix_fmt, r_frame_rate and nb_read_frames (every frame decoded and counted).
inline std::map<std::string, std::string> ProbeVideo(const std::string& path) {
  std::map<std::string, std::string> fields;
  const std::string text = CommandOutput(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=codec_name,width,height,pix_fmt,r_frame_rate,nb_read_frames -of default=nw=1 '" +
      path + "' 2>&1");
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
    start = end + 1;
  }
  return fields;
}

// The luma planes of every decoded frame, in order.
inline std::vector<std::vector<uint8_t>> DecodedLumaFrames(const std::string& path, int width,
                                                           int height) {
  const std::string raw = CommandOutput("ffmpeg -v error -i '" + path +
                                        "' -pix_fmt yuv420p -f rawvideo -");
  const size_t luma = static_cast<size_t>(width) * height, frame = luma + 2 * (luma / 4);
  std::vector<std::vector<uint8_t>> frames;
  for (size_t at = 0; at + frame <= raw.size(); at += frame)
    frames.emplace_back(raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + luma));
  return frames;
}

// PSNR in dB of the decoded luma against the picture's BT.601 luma
// (limited range, as the video is stored).
inline double LumaPsnr(const TPixmap& picture, const std::vector<uint8_t>& luma) {
  double squares = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const uint32_t p = picture.Get(x, y);
      const double r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      const double expected = 16 + (65.481 * r + 128.553 * g + 24.966 * b) / 255;
      const double d = expected - luma[static_cast<size_t>(y) * picture.Width() + x];
      squares += d * d;
    }
  }
  const double mse = squares / (static_cast<double>(picture.Width()) * picture.Height());
  return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace ork::test
