// Draws the toolbar icon strip toolbar20.png: 25 square icons of 20 pixels
// side by side, one per toolbar button in button order. Shapes are drawn at
// four times the size and averaged down, which smooths their edges; the
// background is transparent.
//
//   make_toolbar [output.png]
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/pixmap.h"
#include "picture/picture_files.h"

namespace {

constexpr int kSide = 20;
constexpr int kSuper = 4;
constexpr int kHi = kSide * kSuper;
constexpr double kPi = 3.14159265358979323846;

struct TColor {
  double r, g, b, a = 1.0;
};

TColor Rgb(uint32_t rgb, double a = 1.0) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, a};
}

const TColor kInk = Rgb(0x1E2630);
const TColor kWhite = Rgb(0xFFFFFF);
const TColor kPaper = Rgb(0xF4F6F8);
const TColor kGrey = Rgb(0x8A96A3);
const TColor kBlue = Rgb(0x2F6FD0);
const TColor kDarkBlue = Rgb(0x1F4C94);
const TColor kGreen = Rgb(0x2E9E4A);
const TColor kRed = Rgb(0xD83A34);
const TColor kYellow = Rgb(0xF2C14E);
const TColor kOrange = Rgb(0xE8892B);
const TColor kSky = Rgb(0x8CC8F0);

// One icon drawn on a fine grid; coordinates are in icon pixels (0-20).
class TCanvas {
 public:
  TCanvas() : px_(kHi * kHi, TColor{0, 0, 0, 0}) {}

  // Paints every fine sample whose centre satisfies `inside`.
  void Shape(const TColor& c, const std::function<bool(double, double)>& inside) {
    for (int j = 0; j < kHi; ++j)
      for (int i = 0; i < kHi; ++i) {
        const double x = (i + 0.5) / kSuper, y = (j + 0.5) / kSuper;
        if (inside(x, y)) Over(px_[j * kHi + i], c);
      }
  }
  // Paints with a colour chosen per sample (alpha 0 leaves it).
  void Field(const std::function<TColor(double, double)>& color) {
    for (int j = 0; j < kHi; ++j)
      for (int i = 0; i < kHi; ++i) {
        const double x = (i + 0.5) / kSuper, y = (j + 0.5) / kSuper;
        Over(px_[j * kHi + i], color(x, y));
      }
  }

  void Rect(double x0, double y0, double x1, double y1, const TColor& c) {
    Shape(c, [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
  }
  void Frame(double x0, double y0, double x1, double y1, double t, const TColor& c) {
    Shape(c, [=](double x, double y) {
      return x >= x0 && x < x1 && y >= y0 && y < y1 &&
             !(x >= x0 + t && x < x1 - t && y >= y0 + t && y < y1 - t);
    });
  }
  void Disc(double cx, double cy, double r, const TColor& c) {
    Shape(c, [=](double x, double y) { return Sq(x - cx) + Sq(y - cy) <= r * r; });
  }
  // A ring between radii r0 and r1, optionally only between angles a0 and
  // a1 (degrees, counter-clockwise from the positive x axis, y up).
  void Ring(double cx, double cy, double r0, double r1, const TColor& c, double a0 = 0,
            double a1 = 360) {
    Shape(c, [=](double x, double y) {
      const double d2 = Sq(x - cx) + Sq(y - cy);
      if (d2 < r0 * r0 || d2 > r1 * r1) return false;
      double a = std::atan2(cy - y, x - cx) * 180 / kPi;
      if (a < a0) a += 360;
      return a >= a0 && a <= a1;
    });
  }
  void Line(double x0, double y0, double x1, double y1, double width, const TColor& c) {
    Shape(c, [=](double x, double y) {
      const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
      double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
      t = std::clamp(t, 0.0, 1.0);
      return Sq(x - (x0 + t * dx)) + Sq(y - (y0 + t * dy)) <= Sq(width / 2);
    });
  }
  void Polygon(const std::vector<std::pair<double, double>>& p, const TColor& c) {
    Shape(c, [&p](double x, double y) {
      bool in = false;
      for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].second > y) != (p[j].second > y) &&
            x < (p[j].first - p[i].first) * (y - p[i].second) / (p[j].second - p[i].second) +
                    p[i].first)
          in = !in;
      }
      return in;
    });
  }
  // An arrowhead with its tip at (x, y) pointing in direction `angle`
  // (degrees, y up), `size` long.
  void ArrowHead(double x, double y, double angle, double size, const TColor& c) {
    const double a = angle * kPi / 180;
    const double bx = x - size * std::cos(a), by = y + size * std::sin(a);
    const double nx = std::sin(a) * size * 0.6, ny = std::cos(a) * size * 0.6;
    Polygon({{x, y}, {bx + nx, by + ny}, {bx - nx, by - ny}}, c);
  }
  // A digit from a 3 x 5 pixel pattern with its top-left at (x, y).
  void Digit(int d, double x, double y, const TColor& c) {
    static const char* const kDigits[10] = {"111101101101111", "010110010010111", "111001111100111",
                                            "111001111001111", "101101111001001", "111100111001111",
                                            "111100111101111", "111001001001001", "111101111101111",
                                            "111101111001111"};
    for (int j = 0; j < 5; ++j)
      for (int i = 0; i < 3; ++i)
        if (kDigits[d][j * 3 + i] == '1') Rect(x + i, y + j, x + i + 1, y + j + 1, c);
  }
  // The movie number in a small round badge at the bottom right.
  void Badge(int movie) {
    const TColor back = movie == 1 ? kBlue : kOrange;
    Disc(15.5, 15.5, 4.5, kWhite);
    Disc(15.5, 15.5, 3.8, back);
    Digit(movie, 14, 13, kWhite);
  }

  // Averages the fine samples into the strip at column offset x0.
  void Into(ork::TPixmap& strip, int x0) const {
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        double r = 0, g = 0, b = 0, a = 0;
        for (int j = 0; j < kSuper; ++j)
          for (int i = 0; i < kSuper; ++i) {
            const TColor& p = px_[(y * kSuper + j) * kHi + x * kSuper + i];
            r += p.r * p.a;
            g += p.g * p.a;
            b += p.b * p.a;
            a += p.a;
          }
        uint32_t argb = 0;
        if (a > 0) {
          auto byte = [](double v) {
            return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
          };
          argb = (byte(a / (kSuper * kSuper)) << 24) | (byte(r / a) << 16) | (byte(g / a) << 8) |
                 byte(b / a);
        }
        strip.Set(x0 + x, y, argb);
      }
  }

 private:
  static double Sq(double v) { return v * v; }
  static void Over(TColor& d, const TColor& s) {
    if (s.a <= 0) return;
    const double a = s.a + d.a * (1 - s.a);
    d.r = (s.r * s.a + d.r * d.a * (1 - s.a)) / a;
    d.g = (s.g * s.a + d.g * d.a * (1 - s.a)) / a;
    d.b = (s.b * s.a + d.b * d.a * (1 - s.a)) / a;
    d.a = a;
  }

  std::vector<TColor> px_;
};

// Hue 0-1 to a saturated colour.
TColor Hue(double h) {
  h = h - std::floor(h);
  const double r = std::clamp(std::fabs(h * 6 - 3) - 1, 0.0, 1.0);
  const double g = std::clamp(2 - std::fabs(h * 6 - 2), 0.0, 1.0);
  const double b = std::clamp(2 - std::fabs(h * 6 - 4), 0.0, 1.0);
  return {r, g, b, 1.0};
}

// A small Mandelbrot picture in the rectangle, coloured by escape time.
void Mandelbrot(TCanvas& c, double x0, double y0, double x1, double y1, double hueShift) {
  c.Field([=](double x, double y) -> TColor {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return {0, 0, 0, 0};
    const double cr = -2.1 + (x - x0) / (x1 - x0) * 2.8;
    const double ci = -1.25 + (y - y0) / (y1 - y0) * 2.5;
    double zr = 0, zi = 0;
    int n = 0;
    while (n < 60 && zr * zr + zi * zi < 4) {
      const double t = zr * zr - zi * zi + cr;
      zi = 2 * zr * zi + ci;
      zr = t;
      ++n;
    }
    if (n == 60) return kInk;
    // Far from the set the base hue, brightening to pale yellow at its rim.
    const double t = std::min(1.0, n / 9.0);
    const TColor h = Hue(hueShift);
    const TColor rim = Rgb(0xFFF3B0);
    const double base = 0.75;
    return {h.r * base * (1 - t) + rim.r * t, h.g * base * (1 - t) + rim.g * t,
            h.b * base * (1 - t) + rim.b * t, 1.0};
  });
}

void Document(TCanvas& c) {
  c.Polygon({{3.5, 1.5}, {12.5, 1.5}, {16.5, 5.5}, {16.5, 18.5}, {3.5, 18.5}}, kInk);
  c.Polygon({{4.5, 2.5}, {12, 2.5}, {15.5, 6}, {15.5, 17.5}, {4.5, 17.5}}, kPaper);
  c.Polygon({{12, 2.5}, {15.5, 6}, {12, 6}}, kGrey);
  for (double y : {8.0, 10.5, 13.0}) c.Line(6.5, y, 13.5, y, 1.1, kGrey);
  c.Line(6.5, 5.0, 10.0, 5.0, 1.1, kGrey);
}

void Thumbnail(TCanvas& c, double x0, double y0, double x1, double y1, double hue) {
  c.Rect(x0, y0, x1, y1, kInk);
  Mandelbrot(c, x0 + 1, y0 + 1, x1 - 1, y1 - 1, hue);
}

void Magnifier(TCanvas& c) {
  c.Line(11.5, 11.5, 17.5, 17.5, 3.2, kInk);
  c.Disc(8.5, 8.5, 6.5, kInk);
  c.Disc(8.5, 8.5, 5.0, kSky);
  Mandelbrot(c, 4.0, 5.0, 13.0, 12.0, 0.55);
  c.Ring(8.5, 8.5, 5.0, 6.5, kInk);
}

void CodingBands(TCanvas& c) {
  // Escape-time bands: rings around a corner, each one colour index.
  c.Rect(1.5, 1.5, 18.5, 18.5, kInk);
  const TColor bands[6] = {Rgb(0xFDE74C), Rgb(0xE55934), Rgb(0x9B2C8F),
                           Rgb(0x2F6FD0), Rgb(0x5BC0EB), Rgb(0x9BE564)};
  c.Field([&bands](double x, double y) -> TColor {
    if (x < 2.5 || y < 2.5 || x >= 17.5 || y >= 17.5) return {0, 0, 0, 0};
    const double d = std::hypot(x - 2.5, y - 17.5);
    return bands[std::min(5, static_cast<int>(d / 3.4))];
  });
}

void Palette(TCanvas& c) {
  c.Shape(kInk, [](double x, double y) {
    return (x - 10) * (x - 10) / 81.0 + (y - 10) * (y - 10) / 56.0 <= 1.0;
  });
  c.Shape(Rgb(0xE9C9A0), [](double x, double y) {
    return (x - 10) * (x - 10) / 64.0 + (y - 10) * (y - 10) / 46.0 <= 1.0;
  });
  c.Disc(12.5, 13.0, 1.8, kInk);  // thumb hole
  c.Disc(12.5, 13.0, 1.1, Rgb(0, 0));
  const std::pair<double, double> spots[5] = {{5.5, 9.0}, {8.0, 5.8}, {11.8, 5.6}, {15.0, 8.2}, {6.8, 12.8}};
  for (int k = 0; k < 5; ++k) c.Disc(spots[k].first, spots[k].second, 1.7, Hue(k / 5.0));
}

void HueWheel(TCanvas& c) {
  // A colour ring that turns: open at the top right, an arrowhead at its end.
  c.Ring(10, 10, 3.4, 9.0, kInk, 55, 395);
  c.Field([](double x, double y) -> TColor {
    const double dx = x - 10, dy = y - 10, d = std::hypot(dx, dy);
    double a = std::atan2(-dy, dx) * 180 / kPi;
    if (a < 60) a += 360;
    if (d < 4.4 || d > 8.0 || a > 390) return {0, 0, 0, 0};
    return Hue(a / 360.0);
  });
  c.ArrowHead(16.8, 5.8, -30, 5.6, kInk);
  c.ArrowHead(15.9, 6.4, -30, 3.8, Hue(60 / 360.0));
}

void Grid(TCanvas& c, bool axes) {
  c.Rect(1.5, 1.5, 18.5, 18.5, kPaper);
  c.Frame(1.5, 1.5, 18.5, 18.5, 1.0, kInk);
  for (double v : {5.5, 9.5, 13.5}) {
    c.Line(v, 2.5, v, 17.5, 0.9, kGrey);
    c.Line(2.5, v, 17.5, v, 0.9, kGrey);
  }
  if (axes) {
    c.Line(2.5, 9.5, 16.0, 9.5, 1.6, kRed);
    c.ArrowHead(18.0, 9.5, 0, 3.2, kRed);
    c.Line(9.5, 17.5, 9.5, 4.0, 1.6, kRed);
    c.ArrowHead(9.5, 2.0, 90, 3.2, kRed);
  }
}

using TIcon = std::function<void(TCanvas&)>;

std::vector<TIcon> Icons() {
  std::vector<TIcon> icons;
  // 0 Load Movie 1: an open folder.
  icons.push_back([](TCanvas& c) {
    c.Polygon({{1.5, 4}, {7, 4}, {8.5, 5.5}, {16.5, 5.5}, {16.5, 16.5}, {1.5, 16.5}}, Rgb(0xB07A1C));
    c.Polygon({{2.5, 5}, {6.6, 5}, {8.1, 6.5}, {15.5, 6.5}, {15.5, 15.5}, {2.5, 15.5}}, Rgb(0xD99A2B));
    c.Polygon({{4.5, 9}, {19.2, 9}, {16.5, 16.5}, {1.5, 16.5}}, Rgb(0xB07A1C));
    c.Polygon({{5.2, 10}, {17.8, 10}, {15.8, 15.6}, {2.9, 15.6}}, kYellow);
  });
  // 1 Save Movie 1: a floppy disk.
  icons.push_back([](TCanvas& c) {
    c.Polygon({{2, 2}, {15.5, 2}, {18, 4.5}, {18, 18}, {2, 18}}, kDarkBlue);
    c.Polygon({{3, 3}, {15, 3}, {17, 5}, {17, 17}, {3, 17}}, kBlue);
    c.Rect(5.5, 3, 14.5, 8.5, kPaper);
    c.Rect(11.5, 4, 13.5, 7.5, kDarkBlue);
    c.Rect(5, 11, 15, 17, kPaper);
    c.Line(6.5, 13, 13.5, 13, 0.9, kGrey);
    c.Line(6.5, 15, 13.5, 15, 0.9, kGrey);
  });
  // 2 Save picture as image: a landscape picture with a disk.
  icons.push_back([](TCanvas& c) {
    c.Rect(1, 2.5, 17, 15.5, kInk);
    c.Rect(2, 3.5, 16, 14.5, kSky);
    c.Disc(12.5, 6.5, 1.8, kYellow);
    c.Polygon({{2, 14.5}, {6.5, 8}, {10, 12}, {12, 10}, {16, 14.5}}, kGreen);
    c.Polygon({{10, 10}, {18.5, 10}, {19.5, 11}, {19.5, 19.5}, {10, 19.5}}, kDarkBlue);
    c.Rect(11, 11, 18.5, 18.5, kBlue);
    c.Rect(12.5, 11, 17, 13.8, kPaper);
    c.Rect(12.2, 15.5, 17.3, 18.5, kPaper);
  });
  // 3 One picture back: an arrow turning back to the left.
  icons.push_back([](TCanvas& c) {
    c.Ring(10.5, 11, 4.2, 7.0, kGreen, -90, 90);
    c.Rect(7, 15.2, 10.6, 18.0, kGreen);
    c.Rect(7, 4.0, 10.6, 6.8, kGreen);
    c.ArrowHead(1.0, 5.4, 180, 6.5, kGreen);
  });
  // 4 Data of Movie 1: a sheet with lines.
  icons.push_back([](TCanvas& c) {
    Document(c);
    c.Badge(1);
  });
  // 5 Pixel size of both movies: a picture frame with a diagonal double arrow.
  icons.push_back([](TCanvas& c) {
    c.Rect(1.0, 3.0, 19.0, 17.0, kInk);
    c.Rect(2.2, 4.2, 17.8, 15.8, kPaper);
    c.Line(6.5, 12.2, 13.5, 7.8, 1.7, kBlue);
    c.ArrowHead(16.6, 5.9, 32.2, 4.6, kBlue);
    c.ArrowHead(3.4, 14.1, 212.2, 4.6, kBlue);
  });
  // 6 Data of Movie 2.
  icons.push_back([](TCanvas& c) {
    Document(c);
    c.Badge(2);
  });
  // 7 Update display: two turning arrows.
  icons.push_back([](TCanvas& c) {
    c.Ring(10, 10, 5.2, 7.6, kGreen, 20, 160);
    c.Ring(10, 10, 5.2, 7.6, kGreen, 200, 340);
    c.ArrowHead(17.6, 13.0, -80, 4.8, kGreen);
    c.ArrowHead(2.4, 7.0, 100, 4.8, kGreen);
  });
  // 8, 9 Preview of Movie 1 and 2: a magnifier over a fractal.
  icons.push_back([](TCanvas& c) {
    Magnifier(c);
    c.Badge(1);
  });
  icons.push_back([](TCanvas& c) {
    Magnifier(c);
    c.Badge(2);
  });
  // 10 Calculate Movie 1: the fractal itself.
  icons.push_back([](TCanvas& c) {
    Thumbnail(c, 0.5, 1.5, 19.5, 18.5, 0.58);
    c.Polygon({{1.5, 12.5}, {7.5, 15.5}, {1.5, 18.5}}, kWhite);
    c.Polygon({{2.3, 13.9}, {6.0, 15.5}, {2.3, 17.1}}, kGreen);
  });
  // 11 Double picture of Movie 1 and 2: two fractals side by side.
  icons.push_back([](TCanvas& c) {
    Thumbnail(c, 0.5, 4.0, 10.0, 16.0, 0.58);
    Thumbnail(c, 10.0, 4.0, 19.5, 16.0, 0.05);
    c.Rect(1.5, 10.0, 5.5, 16.0, kInk);
    c.Digit(1, 2.0, 10.5, kWhite);
    c.Rect(14.5, 10.0, 18.5, 16.0, kInk);
    c.Digit(2, 15.0, 10.5, kWhite);
  });
  // 12 Start film: a film strip with a play triangle.
  icons.push_back([](TCanvas& c) {
    c.Rect(1, 2, 19, 18, kInk);
    for (int k = 0; k < 5; ++k) {
      c.Rect(2.3 + k * 3.4, 3.0, 4.3 + k * 3.4, 4.8, kWhite);
      c.Rect(2.3 + k * 3.4, 15.2, 4.3 + k * 3.4, 17.0, kWhite);
    }
    c.Rect(2.5, 6.0, 17.5, 14.0, Rgb(0x3A4756));
    c.Polygon({{7.5, 6.8}, {14.0, 10.0}, {7.5, 13.2}}, kYellow);
  });
  // 13-15 Colouring of Movie 1: coding bands, a palette, a turning hue wheel.
  icons.push_back([](TCanvas& c) {
    CodingBands(c);
    c.Badge(1);
  });
  icons.push_back([](TCanvas& c) {
    Palette(c);
    c.Badge(1);
  });
  icons.push_back([](TCanvas& c) {
    HueWheel(c);
    c.Badge(1);
  });
  // 16-18 the same for Movie 2.
  icons.push_back([](TCanvas& c) {
    CodingBands(c);
    c.Badge(2);
  });
  icons.push_back([](TCanvas& c) {
    Palette(c);
    c.Badge(2);
  });
  icons.push_back([](TCanvas& c) {
    HueWheel(c);
    c.Badge(2);
  });
  // 19 Insert the coordinate grid and axes.
  icons.push_back([](TCanvas& c) { Grid(c, true); });
  // 20 Grid sizes: the grid with a spacing arrow.
  icons.push_back([](TCanvas& c) {
    Grid(c, false);
    c.Rect(4.6, 7.3, 14.4, 11.7, kPaper);
    c.Line(7.5, 9.5, 11.5, 9.5, 1.5, kBlue);
    c.ArrowHead(5.4, 9.5, 180, 3.2, kBlue);
    c.ArrowHead(13.6, 9.5, 0, 3.2, kBlue);
  });
  // 21 Delete lines and text: an eraser over a line.
  icons.push_back([](TCanvas& c) {
    c.Line(1.5, 17.5, 18.5, 17.5, 1.2, kGrey);
    c.Polygon({{3, 12.5}, {11, 4.5}, {17.5, 11}, {9.5, 19}}, kInk);
    c.Polygon({{4.5, 12.5}, {11, 6}, {16, 11}, {9.5, 17.5}}, Rgb(0xF28CA0));
    c.Polygon({{4.5, 12.5}, {7.6, 9.4}, {12.6, 14.4}, {9.5, 17.5}}, kPaper);
  });
  // 22 Show all previews: four small pictures.
  icons.push_back([](TCanvas& c) {
    Thumbnail(c, 1, 1, 9.5, 9.5, 0.58);
    Thumbnail(c, 10.5, 1, 19, 9.5, 0.05);
    Thumbnail(c, 1, 10.5, 9.5, 19, 0.3);
    Thumbnail(c, 10.5, 10.5, 19, 19, 0.8);
  });
  // 23 Delete all previews: the four pictures crossed out.
  icons.push_back([](TCanvas& c) {
    Thumbnail(c, 1, 1, 9.5, 9.5, 0.58);
    Thumbnail(c, 10.5, 1, 19, 9.5, 0.05);
    Thumbnail(c, 1, 10.5, 9.5, 19, 0.3);
    Thumbnail(c, 10.5, 10.5, 19, 19, 0.8);
    c.Line(3, 3, 17, 17, 3.6, kWhite);
    c.Line(17, 3, 3, 17, 3.6, kWhite);
    c.Line(3, 3, 17, 17, 2.2, kRed);
    c.Line(17, 3, 3, 17, 2.2, kRed);
  });
  // 24 Help for beginners: a question mark.
  icons.push_back([](TCanvas& c) {
    c.Disc(10, 10, 9.2, kDarkBlue);
    c.Disc(10, 10, 8.2, kBlue);
    c.Ring(10, 7.6, 2.1, 4.1, kWhite, -60, 180);
    c.Polygon({{11.2, 9.5}, {13.0, 10.4}, {11.3, 12.6}, {9.1, 12.6}}, kWhite);
    c.Rect(9.1, 11.5, 11.3, 13.5, kWhite);
    c.Disc(10.2, 15.9, 1.35, kWhite);
  });
  return icons;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "data/toolbar20.png";
  const std::vector<TIcon> icons = Icons();
  ork::TPixmap strip(kSide * static_cast<int>(icons.size()), kSide, 0u);
  for (size_t k = 0; k < icons.size(); ++k) {
    TCanvas canvas;
    icons[k](canvas);
    canvas.Into(strip, static_cast<int>(k) * kSide);
  }
  if (!ork::SavePng(strip, path)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%s: %zu icons\n", path.c_str(), icons.size());
  return 0;
}
