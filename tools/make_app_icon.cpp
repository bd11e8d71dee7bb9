// Draws the application icon: a rounded tile showing the Mandelbrot set in
// bands of escape time, as the program colours it. Writes orkelund-N.png for
// N = 48, 64, 128, 256 and the same drawing as vector paths, orkelund.svg.
//
// Both come from one function, the smoothed escape time of z -> z^2 + c over
// the tile: the PNGs sample it (8 x 8 samples per pixel, averaged), the SVG
// outlines each band's region {time >= level} by marching squares on a grid
// and fills it even-odd, one path per band over the band below.
//
//   make_app_icon [output-folder]      (default: packaging/icons)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/pixmap.h"
#include "picture/picture_files.h"

namespace {

constexpr double kSide = 256;  // drawing units; the tile below lies inside
constexpr double kTile0 = 16, kTile1 = 240, kRadius = 40;
constexpr double kCentreX = -0.72, kCentreY = 0.0, kPlaneWidth = 2.9;  // of the tile
constexpr int kMaxIter = 200;
constexpr double kInside = kMaxIter + 1.0;

struct TBand {
  double level;  // escape time from which the band's colour shows
  uint32_t rgb;
};
// The outermost band fills the tile; the last one is the set itself.
const std::vector<TBand> kBands = {
    {0, 0x0E1C3A},  {4, 0x17336B},  {5.5, 0x1F4C94}, {7, 0x2F6FD0},   {9, 0x4FA3E8},
    {12, 0x9BDDF2}, {16, 0xF2C14E}, {24, 0xE8892B}, {kInside, 0x0B0F14}};

// Smoothed escape time of the plane point under drawing point (x, y);
// kInside for points that stay.
double EscapeTime(double x, double y) {
  const double scale = kPlaneWidth / (kTile1 - kTile0);
  const double cx = kCentreX + (x - kSide / 2) * scale, cy = kCentreY - (y - kSide / 2) * scale;
  double zx = 0, zy = 0;
  for (int n = 0; n < kMaxIter; ++n) {
    const double xx = zx * zx, yy = zy * zy;
    if (xx + yy > 256) return n + 1 - std::log2(0.5 * std::log(xx + yy));
    zy = 2 * zx * zy + cy;
    zx = xx - yy + cx;
  }
  return kInside;
}

// Signed distance from the tile's rounded border, positive inside.
double TileDepth(double x, double y) {
  const double half = (kTile1 - kTile0) / 2, mid = (kTile0 + kTile1) / 2;
  const double qx = std::abs(x - mid) - (half - kRadius), qy = std::abs(y - mid) - (half - kRadius);
  const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
  return kRadius - outside;
}

bool InTile(double x, double y) { return TileDepth(x, y) >= 0; }

uint32_t BandColour(double time) {
  uint32_t rgb = kBands[0].rgb;
  for (const TBand& b : kBands)
    if (time >= b.level) rgb = b.rgb;
  return rgb;
}

ork::TPixmap Raster(int size) {
  constexpr int kSub = 8;
  ork::TPixmap picture(size, size, 0u);
  const double unit = kSide / size;
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int j = 0; j < kSub; ++j)
        for (int i = 0; i < kSub; ++i) {
          const double x = (px + (i + 0.5) / kSub) * unit, y = (py + (j + 0.5) / kSub) * unit;
          if (!InTile(x, y)) continue;
          const uint32_t c = BandColour(EscapeTime(x, y));
          r += (c >> 16) & 0xFF;
          g += (c >> 8) & 0xFF;
          b += c & 0xFF;
          a += 1;
        }
      if (a == 0) continue;
      const auto channel = [a](double v) { return static_cast<uint32_t>(std::lround(v / a)); };
      const auto alpha = static_cast<uint32_t>(std::lround(255 * a / (kSub * kSub)));
      picture.Set(px, py, alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b));
    }
  return picture;
}

using TPoint = std::pair<double, double>;

// The closed outlines of {time >= level} within the tile, on a grid of
// min(escape time, steep tile depth): its level lines follow the tile's
// border there, so the paths need no clipping (which not every icon
// renderer does), and the grid's outer ring lies outside the tile, so that
// every outline closes.
class TContours {
 public:
  TContours(int cells, double x0, double x1) : n_(cells + 1), x0_(x0), step_((x1 - x0) / cells) {
    time_.resize(static_cast<size_t>(n_) * n_);
    for (int j = 0; j < n_; ++j)
      for (int i = 0; i < n_; ++i) {
        const bool rim = i == 0 || j == 0 || i == n_ - 1 || j == n_ - 1;
        time_[j * n_ + i] = rim ? -1.0 : std::min(EscapeTime(X(i), X(j)), 1e4 * TileDepth(X(i), X(j)));
      }
  }

  std::vector<std::vector<TPoint>> Outlines(double level) const {
    // Grid edges are numbered: 2 * (j * n + i) for the one from (i, j) to the
    // right, + 1 for the one downwards. Each outline crossing an edge links
    // two cells there.
    std::unordered_map<int, std::vector<int>> links;
    std::unordered_map<int, TPoint> points;
    const auto in = [&](int i, int j) { return T(i, j) >= level; };
    const auto cross = [&](int edge) {
      const int i = (edge / 2) % n_, j = (edge / 2) / n_;
      const int i2 = edge % 2 ? i : i + 1, j2 = edge % 2 ? j + 1 : j;
      const double a = T(i, j), b = T(i2, j2);
      double t = (level - a) / (b - a);
      // Into the set's inside the time jumps: halfway, not at a sliver.
      if (a == kInside || b == kInside) t = std::clamp(t, 0.05, 0.95);
      points[edge] = {X(i) + t * (X(i2) - X(i)), X(j) + t * (X(j2) - X(j))};
    };
    const auto link = [&](int e1, int e2) {
      cross(e1);
      cross(e2);
      links[e1].push_back(e2);
      links[e2].push_back(e1);
    };
    for (int j = 0; j + 1 < n_; ++j)
      for (int i = 0; i + 1 < n_; ++i) {
        const int top = 2 * (j * n_ + i), left = top + 1;
        const int bottom = 2 * ((j + 1) * n_ + i), right = 2 * (j * n_ + i + 1) + 1;
        const int mask = in(i, j) | in(i + 1, j) << 1 | in(i + 1, j + 1) << 2 | in(i, j + 1) << 3;
        switch (mask) {
          case 0: case 15: break;
          case 1: case 14: link(left, top); break;
          case 2: case 13: link(top, right); break;
          case 4: case 11: link(right, bottom); break;
          case 8: case 7: link(bottom, left); break;
          case 3: case 12: link(left, right); break;
          case 6: case 9: link(top, bottom); break;
          case 5: case 10: {
            // A saddle: the cell's centre decides which corners join.
            const double centre = (T(i, j) + T(i + 1, j) + T(i + 1, j + 1) + T(i, j + 1)) / 4;
            if ((centre >= level) == (mask == 5)) {
              link(left, bottom);
              link(top, right);
            } else {
              link(left, top);
              link(right, bottom);
            }
            break;
          }
        }
      }
    std::vector<std::vector<TPoint>> outlines;
    for (auto& [start, next] : links) {
      if (next.empty()) continue;
      std::vector<TPoint> outline;
      int previous = start, edge = start;
      do {
        outline.push_back(points[edge]);
        std::vector<int>& out = links[edge];
        auto it = std::find_if(out.begin(), out.end(), [&](int e) { return e != previous || out.size() == 1; });
        if (it == out.end()) break;
        const int following = *it;
        out.erase(it);
        std::vector<int>& back = links[following];
        back.erase(std::find(back.begin(), back.end(), edge));
        previous = edge;
        edge = following;
      } while (edge != start);
      if (outline.size() >= 3) outlines.push_back(Simplify(outline));
    }
    return outlines;
  }

 private:
  double X(int i) const { return x0_ + i * step_; }
  double T(int i, int j) const { return time_[j * n_ + i]; }

  // Drops points that lie within a tenth of a unit of the line between
  // their kept neighbours (the SVG would not show them).
  static std::vector<TPoint> Simplify(const std::vector<TPoint>& p) {
    std::vector<TPoint> kept{p[0]};
    for (size_t k = 1; k < p.size(); ++k) {
      const TPoint& a = kept.back();
      const TPoint& c = p[(k + 1) % p.size()];
      const double dx = c.first - a.first, dy = c.second - a.second, len = std::hypot(dx, dy);
      const double off = len > 0 ? std::abs(dx * (p[k].second - a.second) - dy * (p[k].first - a.first)) / len
                                 : 0;
      if (off > 0.1) kept.push_back(p[k]);
    }
    return kept;
  }

  int n_;
  double x0_, step_;
  std::vector<double> time_;
};

std::string Hex(uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFF);
  return text;
}

std::string Svg() {
  std::string svg;
  char buf[160];
  std::snprintf(buf, sizeof buf,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" viewBox=\"0 0 %g %g\">\n",
                kSide, kSide, kSide, kSide);
  svg += buf;
  std::snprintf(buf, sizeof buf,
                "<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\" fill=\"%s\"/>\n", kTile0,
                kTile0, kTile1 - kTile0, kTile1 - kTile0, kRadius, Hex(kBands[0].rgb).c_str());
  svg += buf;
  // An odd cell count keeps grid points off the real axis, whose spike belongs
  // to the set but is thinner than any cell.
  const TContours grid(279, kTile0 - 4, kTile1 + 4);
  for (size_t b = 1; b < kBands.size(); ++b) {
    svg += "<path fill-rule=\"evenodd\" fill=\"" + Hex(kBands[b].rgb) + "\" d=\"";
    // The set's own outline lies just below kInside.
    const double level = b + 1 == kBands.size() ? kMaxIter + 0.5 : kBands[b].level;
    for (const std::vector<TPoint>& outline : grid.Outlines(level)) {
      for (size_t k = 0; k < outline.size(); ++k) {
        std::snprintf(buf, sizeof buf, "%s%.1f %.1f", k == 0 ? "M" : " ", outline[k].first, outline[k].second);
        svg += buf;
      }
      svg += "Z";
    }
    svg += "\"/>\n";
  }
  svg += "</svg>\n";
  return svg;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "packaging/icons";
  for (int size : {48, 64, 128, 256}) {
    const std::string path = folder + "/orkelund-" + std::to_string(size) + ".png";
    if (!ork::SavePng(Raster(size), path, 9)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  const std::string path = folder + "/orkelund.svg";
  std::ofstream file(path, std::ios::binary);
  file << Svg();
  file.close();
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}
