#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/orbit_picture.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/bmp_font_registry.h"
#include "shell/shell_host.h"
#include "windows/dynamics_commands.h"
#include "windows/picture_window.h"
#include "windows/points_window.h"
#include "preview_test_util.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kBlack = 0xFF000000u, kRed = 0xFFFF0000u, kGreen = 0xFF28FF28u,
                   kBlue = 0xFF8080FFu, kWhite = 0xFFFFFFFFu, kLast = 0xFFFF2828u;

// A render object with the orbit (x[k], y[k]), k = 1 ... n recorded.
TRender Orbit(const std::vector<double>& x, const std::vector<double>& y) {
  TRender r;
  r.DynX.assign(x.size() + 3, 0.0);
  r.DynY.assign(y.size() + 3, 0.0);
  for (size_t k = 0; k < x.size(); ++k) {
    r.DynX[k + 1] = x[k];
    r.DynY[k + 1] = y[k];
  }
  return r;
}

TEST(DynamicsPicture, LinesAxesColoursAndLimits) {
  ResetProcessState();
  TPixmap p(20, 20);
  DrawDynamicsLine(p, 5, 3, 1, 3, kWhite);  // horizontal, drawn right to left
  for (int x = 1; x <= 5; ++x) EXPECT_EQ(p.Get(x, 3), kWhite) << x;
  EXPECT_EQ(p.Get(0, 3), kBlack);
  EXPECT_EQ(p.Get(6, 3), kBlack);
  p.Fill(kBlack);
  DrawDynamicsLine(p, 0, 0, 2, 10, kWhite);  // steep: one pixel per row
  int set = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) set += p.Get(x, y) == kWhite;
  EXPECT_EQ(set, 11);
  EXPECT_EQ(p.Get(1, 5), kWhite);  // (5 - 0) / 5 + 0.5 = 1.5
  EXPECT_EQ(p.Get(2, 10), kWhite);
  DrawDynamicsLine(p, -30, -4, 40, 25, kRed);  // partly outside: clipped, no fault

  // DynamicsLength 400: axes through (200, 200) over columns and rows 0-399.
  Dynamics().DynamicsLength = 400;
  Dynamics().DynamicsMode = 1;
  NewDynamicsPixmap();
  TPixmap& d = *DynamicsPicture().DynamicsPixmap;
  ASSERT_EQ(d.Width(), 400);
  ASSERT_EQ(d.Height(), 445);
  // Seven points, the largest |x| and |y| being 1 and 2.
  const std::vector<double> xs{1, -1, 0.5, 0.25, -0.5, 0.75, -0.25};
  const std::vector<double> ys{2, 1, -2, 0.5, 1.5, -1, 0.25};
  TRender r = Orbit(xs, ys);
  DrawOrbitPicture(d, r, TOrbitRecord{0.001, 7, 1.0, 2.0});
  EXPECT_EQ(d.Get(0, 200), kRed);
  EXPECT_EQ(d.Get(399, 200), kRed);
  EXPECT_EQ(d.Get(200, 0), kRed);
  EXPECT_EQ(d.Get(200, 399), kRed);
  EXPECT_EQ(d.Get(200, 400), kBlack);
  const auto at = [](double x, double y, int& px, int& py) {
    px = static_cast<int>(x / 1.0 * 199 + 200);
    py = static_cast<int>(200 - y / 2.0 * 199);
  };
  const uint32_t colours[] = {kGreen, kGreen, kGreen, kGreen, kBlue, kBlue, kLast};
  for (size_t k = 0; k < xs.size(); ++k) {
    int px, py;
    at(xs[k], ys[k], px, py);
    EXPECT_EQ(d.Get(px, py), colours[k]) << "point " << k + 1;
  }
  EXPECT_EQ(d.Get(399, 1), kGreen);  // point 1 at the corner of the area

  // Lines: the path from point 1 to point 2 runs through its middle.
  Dynamics().DynamicsMode = 2;
  DrawOrbitPicture(d, r, TOrbitRecord{0.001, 7, 1.0, 2.0});
  // x = 100 on the line from (399, 1) to (1, 100): y = e + m * 100 + 0.5.
  EXPECT_EQ(d.Get(100, 75), kGreen);

  // From point 10 on white; the last point red.
  std::vector<double> many(12, 0.5), manyY(12, 0.5);
  many[11] = 1;
  manyY[11] = 1;
  TRender r12 = Orbit(many, manyY);
  Dynamics().DynamicsMode = 1;
  DrawOrbitPicture(d, r12, TOrbitRecord{0, 12, 1.0, 1.0});
  EXPECT_EQ(d.Get(static_cast<int>(0.5 * 199 + 200), static_cast<int>(200 - 0.5 * 199)), kWhite);
  EXPECT_EQ(d.Get(399, 1), kLast);

  // A stop frame (n = 0) and an orbit on the real axis draw only the axes.
  for (const TOrbitRecord& rec : {TOrbitRecord{0, 0, 1.0, 2.0}, TOrbitRecord{0, 7, 1.0, 0.0}}) {
    DrawOrbitPicture(d, r, rec);
    int other = 0;
    for (int y = 0; y < d.Height(); ++y)
      for (int x = 0; x < d.Width(); ++x) other += d.Get(x, y) != kBlack && d.Get(x, y) != kRed;
    EXPECT_EQ(other, 0);
  }

  // Shifted up 10 and left 20: the axes and the orbit move with the area.
  DynamicsPicture().DynamicsShiftUp = 10;
  DynamicsPicture().DynamicsShiftLeft = 20;
  DrawOrbitPicture(d, r, TOrbitRecord{0, 7, 1.0, 2.0});
  EXPECT_EQ(d.Get(5, 190), kRed);
  EXPECT_EQ(d.Get(180, 5), kRed);
  EXPECT_EQ(d.Get(5, 200), kBlack);
  EXPECT_EQ(d.Get(399 - 20, 1), kBlack);  // point 1 (row 1) lies above the area now
  int px, py;
  at(xs[3], ys[3], px, py);  // points 2 and 3 fall off the left edge
  EXPECT_EQ(d.Get(px - 20, py - 10), kGreen);
  // Huge shifts neither wrap around nor fault.
  DynamicsPicture().DynamicsShiftUp = -kMaxDynamicsLength;
  DynamicsPicture().DynamicsShiftLeft = kMaxDynamicsLength;
  DrawOrbitPicture(d, r, TOrbitRecord{0, 7, 1.0, 2.0});
  ResetProcessState();
  EXPECT_EQ(DynamicsPicture().DynamicsShiftUp, 0);
  EXPECT_FALSE(DynamicsPicture().DynamicsPixmap);
}

std::vector<std::string> Lines(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

TEST_F(TPreviewTest, DynamicsPickShowsPointsAndPictureWindowsAndWritesTheList) {
  UseStartMovie(80, 60, false);
  Start();
  ASSERT_TRUE(RunPending());
  LoadBMPFonts();
  TShellState& s = Shell();
  const TRender& r = *s.RenderM1;
  // P + click at the picture's pixel (30, 20).
  gui_.KeyDown('P', Area());
  gui_.MouseMove(Area(), r.PaintOffsetX + 30, r.PaintOffsetY + 20);
  gui_.KeyUp('P', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Dynamics().DynamicsMode, 0);
  EXPECT_EQ(Key1()->Mpox, 30);
  EXPECT_EQ(Key1()->Mpoy, 20);
  EXPECT_EQ(Composition().InsertPosX, 30);

  // The dynamics picture window: 400 x 445 picture at (0, 27) of a
  // 692 x 472 client area (wide enough for the shift controls), its title
  // naming the point.
  auto* picture = dynamic_cast<TWindowPicture*>(SlotWindow(TSlot::DynamicsPicture));
  ASSERT_NE(picture, nullptr);
  const TScriptedGadget* pw = gui_.Gadget(picture->Window);
  EXPECT_EQ(pw->text, "M1: Dynamics at the point MX=30 MY=20");
  EXPECT_EQ(gui_.ClientSize(picture->Window).width, 692);
  EXPECT_EQ(gui_.ClientSize(picture->Window).height, 472);
  EXPECT_EQ(pw->statusText, "Shift up0 Pix Shift to the Left:0 Pix");
  EXPECT_EQ(gui_.GetText(picture->TextBoxGr), "400");
  const TScriptedGadget* panel = gui_.Gadget(picture->PicturePanel);
  EXPECT_EQ(panel->rect.y, 27);
  ASSERT_EQ(panel->picture.width, 400);
  ASSERT_EQ(panel->picture.height, 445);
  EXPECT_EQ(gui_.ActiveWindow(), picture->Window);
  // Axes, an orbit and the coordinates printed in the rows below the area.
  const TRaster& shown = panel->picture;
  const auto pixel = [&shown](int x, int y) { return shown.pixels[y * shown.width + x] & 0xFFFFFF; };
  EXPECT_EQ(pixel(10, 200), 0xFF0000u);
  int orbit = 0, text = 0;
  for (int y = 0; y < 445; ++y)
    for (int x = 0; x < 400; ++x) {
      const uint32_t c = pixel(x, y);
      if (y < 400 && c != 0 && c != 0xFF0000u) ++orbit;
      if (y >= 400 && c != 0) ++text;
    }
  EXPECT_GT(orbit, 0);
  EXPECT_GT(text, 0);
  // The large font's x= and y= lines lie apart: a row without text
  // between the first and the last text row.
  std::vector<int> textRows;
  for (int y = 380; y < 445; ++y)
    for (int x = 0; x < 400; ++x)
      if (pixel(x, y) == 0xFFFFFFu) {
        textRows.push_back(y);
        break;
      }
  ASSERT_FALSE(textRows.empty());
  EXPECT_LT(static_cast<int>(textRows.size()), textRows.back() - textRows.front() + 1);
  // Neither line runs into the right edge: where the large font would be
  // too wide, the next smaller one prints them.
  for (int y = 380; y < 445; ++y)
    for (int x = 396; x < 400; ++x) EXPECT_NE(pixel(x, y), 0xFFFFFFu) << x << "," << y;

  // The points window shows the pixel's results and the orbit's length.
  auto* points = dynamic_cast<TWindowPoints*>(SlotWindow(TSlot::Points));
  ASSERT_NE(points, nullptr);
  EXPECT_EQ(gui_.Gadget(points->Window)->text, "Computational result at the point with Click + p");
  const size_t i = 20 * 80 + 30;
  const int n = static_cast<int>(r.DynY[0]);
  EXPECT_GE(n, 1);
  EXPECT_EQ(gui_.GetText(points->RechenwertX), RealText17(r.bildX[i]));
  EXPECT_EQ(gui_.GetText(points->Zyklenzahl), std::to_string(r.zycbild[i]));
  EXPECT_EQ(gui_.GetText(points->Iterationszahl), std::to_string(n - 1));
  EXPECT_EQ(gui_.GetText(points->Itvon), std::to_string(Key1()->ianzmax));
  EXPECT_EQ(gui_.GetText(points->Genau), RealText17(r.DynX[0]));
  EXPECT_EQ(gui_.GetText(points->BildkoordinateX), RealText17(Key1()->pox));
  EXPECT_EQ(gui_.GetText(points->MausX), "30");
  EXPECT_EQ(gui_.GetText(points->MausXvon), "80");
  EXPECT_EQ(gui_.GetText(points->MausYvon), "60");
  EXPECT_NE(gui_.FindGadget(points->Window, TGadgetKind::Label, "Genauigkeit"), 0);
  // The dynamics run left the main picture's buffers alone.
  EXPECT_EQ(Composition().CompositionMode, 1);

  // "Print list": mode 3 writes Output\ZList.txt and says so.
  const size_t messages = gui_.Messages().size();
  ASSERT_TRUE(gui_.Click(points->Cmd_Zahlenliste));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Dynamics().DynamicsMode, 0);
  ASSERT_EQ(gui_.Messages().size(), messages + 1);
  EXPECT_EQ(gui_.Messages().back().rfind("The file ZList.txt was written", 0), 0u);
  const std::vector<std::string> lines = Lines(dir_ / "Output" / "ZList.txt");
  ASSERT_EQ(lines.size(), 12u + (n - 1) + 1);
  EXPECT_EQ(lines[0], "result X = " + gui_.GetText(points->RechenwertX));
  EXPECT_EQ(lines[2], "Number of cycles = " + gui_.GetText(points->Zyklenzahl) + " from " +
                          gui_.GetText(points->Zykvon));
  EXPECT_EQ(lines[3], "iterations = " + std::to_string(n - 1) + " from " +
                          gui_.GetText(points->Itvon));
  EXPECT_EQ(lines[4], "Genauigkeit = " + RealText17(r.DynX[0]));
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[9], "Mouse position X = 30 from 80");
  if (n > 1) {
    EXPECT_EQ(lines[12], "i=1  x=" + RealText17(r.DynX[1]) + "  y=" + RealText17(r.DynY[1]));
  }
  EXPECT_EQ(lines.back(), "");

  // Without the Output directory the user is asked; refusing writes nothing.
  fs::remove_all(dir_ / "Output");
  gui_.AnswerQuestion(false);
  EXPECT_EQ(points->Save("Output\\", "ZList.txt", r.DynX, r.DynY, ShellHost()), 0);
  EXPECT_FALSE(fs::exists(dir_ / "Output"));
  gui_.AnswerQuestion(true);
  EXPECT_EQ(points->Save("Output\\", "ZList.txt", r.DynX, r.DynY, ShellHost()), 1);
  EXPECT_TRUE(fs::exists(dir_ / "Output" / "ZList.txt"));
  ReleaseBMPFonts();
}

TEST_F(TPreviewTest, DynamicsOfAPointPickedInMovie2AreThoseOfMovie2) {
  UseStartMovie(80, 60, false);
  Start();
  ASSERT_TRUE(RunPending());
  LoadBMPFonts();
  TShellState& s = Shell();
  s.Movie2->Parameter[1].vsx += 0.5;
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 89));
  ASSERT_TRUE(RunPending());
  // P at pixel (30, 20) of Movie 2's half.
  gui_.KeyDown('P', Area());
  gui_.MouseMove(Area(), s.RenderM1->PaintOffsetX + 80 + 30, s.RenderM1->PaintOffsetY + 20);
  gui_.KeyUp('P', Area());
  ASSERT_TRUE(RunPending());
  auto* points = dynamic_cast<TWindowPoints*>(SlotWindow(TSlot::Points));
  ASSERT_NE(points, nullptr);
  EXPECT_EQ(gui_.GetText(points->BildkoordinateX), RealText17(s.CurrentKeyM2->pox));

  // "Print list" lists Movie 2's orbit under Movie 2's header.
  ASSERT_TRUE(gui_.Click(points->Cmd_Zahlenliste));
  ASSERT_TRUE(RunPending());
  const TRender& r2 = *s.RenderM2;
  const int n = static_cast<int>(r2.DynY[0]);
  ASSERT_GT(n, 2);
  const std::vector<std::string> lines = Lines(dir_ / "Output" / "ZList.txt");
  ASSERT_EQ(lines.size(), 12u + (n - 1) + 1);
  EXPECT_EQ(lines[0], "result X = " + RealText17(r2.bildX[20 * 80 + 30]));
  EXPECT_EQ(lines[13], "i=2  x=" + RealText17(r2.DynX[2]) + "  y=" + RealText17(r2.DynY[2]));

  // C of Movie 1 as the point afterwards: Movie 1's point, labelled M1.
  PostShellCommand(80);
  ASSERT_TRUE(RunPending());
  auto* picture = dynamic_cast<TWindowPicture*>(SlotWindow(TSlot::DynamicsPicture));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(gui_.Gadget(picture->Window)->text.rfind("M1: ", 0), 0u);
  EXPECT_EQ(gui_.GetText(points->BildkoordinateX), RealText17(s.CurrentKeyM1->CCx));
  ReleaseBMPFonts();
}

TEST_F(TPreviewTest, DynamicsPictureWindowSizeShiftAndHandOver) {
  UseStartMovie(80, 60, false);
  Start();
  ASSERT_TRUE(RunPending());
  TShellState& s = Shell();
  gui_.KeyDown('P', Area());
  gui_.MouseMove(Area(), s.RenderM1->PaintOffsetX + 50, s.RenderM1->PaintOffsetY + 10);
  gui_.KeyUp('P', Area());
  ASSERT_TRUE(RunPending());
  auto* picture = dynamic_cast<TWindowPicture*>(SlotWindow(TSlot::DynamicsPicture));
  ASSERT_NE(picture, nullptr);
  const THandle first = picture->Window;

  // Size 200: a new computation, the window reopened at the new size.
  ASSERT_TRUE(gui_.TypeText(picture->TextBoxGr, "200"));
  ASSERT_TRUE(gui_.Click(picture->Cmd_Gr));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Dynamics().DynamicsLength, 200);
  EXPECT_EQ(s.LastDynamicsLength, 200);
  picture = dynamic_cast<TWindowPicture*>(SlotWindow(TSlot::DynamicsPicture));
  ASSERT_NE(picture, nullptr);
  EXPECT_NE(picture->Window, first);
  EXPECT_EQ(gui_.Gadget(first), nullptr);
  EXPECT_EQ(gui_.ClientSize(picture->Window).width, 692);
  EXPECT_EQ(gui_.Gadget(picture->PicturePanel)->picture.height, 245);
  EXPECT_EQ(Dynamics().DynamicsMode, 0);

  // Shifts: up 10, left 20; the status line tells them.
  ASSERT_TRUE(gui_.TypeText(picture->TextBoxVs, "10"));
  ASSERT_TRUE(gui_.TypeText(picture->TextBoxVsL, "20"));
  ASSERT_TRUE(gui_.Click(picture->Cmd_Vs));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(DynamicsPicture().DynamicsShiftUp, 10);
  EXPECT_EQ(DynamicsPicture().DynamicsShiftLeft, 20);
  EXPECT_EQ(gui_.Gadget(picture->Window)->statusText, "Shift up10 Pix Shift to the Left:20 Pix");
  EXPECT_EQ(gui_.Gadget(picture->PicturePanel)->picture.pixels[90 * 200 + 3] & 0xFFFFFF,
            0xFF0000u);  // the horizontal axis now at row 100 - 10

  // Handed to the main picture for saving: a copy of the dynamics picture.
  ASSERT_TRUE(gui_.Click(picture->Cmd_Nimm));
  ASSERT_TRUE(RunPending());
  ASSERT_TRUE(s.RenderM1->Image);
  EXPECT_EQ(s.RenderM1->Image->Width(), 200);
  EXPECT_EQ(s.RenderM1->Image->Height(), 245);
  EXPECT_NE(s.RenderM1->Image, DynamicsPicture().DynamicsPixmap);

  // A size below 2 is limited to 2 and still computes.
  ASSERT_TRUE(gui_.TypeText(picture->TextBoxGr, "-5"));
  ASSERT_TRUE(gui_.Click(picture->Cmd_Gr));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Dynamics().DynamicsLength, 2);
  ASSERT_TRUE(DynamicsPicture().DynamicsPixmap);
  EXPECT_EQ(DynamicsPicture().DynamicsPixmap->Height(), 47);

  // 79: the inspected point becomes Movie 1's C.
  ExecuteCommand(79);
  EXPECT_EQ(Key1()->CCx, Key1()->pox);
  EXPECT_EQ(Key1()->CCy, Key1()->poy);
}

}  // namespace
}  // namespace ork::test
