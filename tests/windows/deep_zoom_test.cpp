// A deep zoom as a user makes it: switch the keyframe deep in the data
// window, zoom with Z far below the precision of a double, save the movie,
// and render it again without a window: the same picture.
#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <cmath>

#include "engine/deep/deep_coordinates.h"
#include "picture/bmp_font_registry.h"
#include "shell/commands_movie_test_util.h"
#include "shell/headless_render_util.h"
#include "windows/data_window.h"
#include "windows/data_window_commands.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

class DeepZoomTest : public TMovieCommandTest {
 protected:
  void StartSmall() {
    UseSmallStartMovie(48, 36);
    Start();
    RegisterDataWindows();
    ASSERT_TRUE(RunPending());
  }
  TDataWindow* OpenData() {
    EXPECT_TRUE(gui_.ChooseMenu(Window(), 16));
    EXPECT_TRUE(RunPending());
    return static_cast<TDataWindow*>(SlotWindow(TSlot::DataM1));
  }
  void Type(THandle field, const std::string& text) {
    ASSERT_TRUE(gui_.TypeText(field, text));
    ASSERT_TRUE(gui_.LeaveField(field));
    ASSERT_TRUE(RunPending());
  }
  void Click(THandle gadget) {
    ASSERT_TRUE(gui_.Click(gadget));
    ASSERT_TRUE(RunPending());
  }
  // Z with a box 6 rows high (8 columns wide) around the picture's centre:
  // 6 times deeper.
  void ZoomAtCentre() {
    const TRender& r = *Shell().RenderM1;
    const int ox = r.PaintOffsetX, oy = r.PaintOffsetY;
    gui_.KeyDown('Z', Area());
    gui_.MouseMove(Area(), ox + 20, oy + 15);
    gui_.MouseDown(Area(), ox + 20, oy + 15);
    gui_.MouseMove(Area(), ox + 20, oy + 21);
    gui_.MouseDown(Area(), ox + 20, oy + 21);
    gui_.KeyUp('Z', Area());
    ASSERT_TRUE(RunPending());
  }
  double Log10Height() {
    int64_t e = 0;
    const TParameter& k = *Key1();
    const double m = deep::LongOr(k.bryLong, k.bry).Frexp(e);
    return (std::log2(m) + static_cast<double>(e)) * std::log10(2.0);
  }
};

TEST_F(DeepZoomTest, ZoomWithZToTenToTheMinus60SaveAndRenderTheSamePicture) {
  StartSmall();
  TDataWindow* w = OpenData();
  ASSERT_NE(w, nullptr);
  ASSERT_NE(w->CK_Deep, 0);
  Click(w->CK_Deep);
  EXPECT_EQ(Key1()->Deep, 1);
  Type(w->TextBox[5], "-2");  // the tip of the antenna: detail at every depth
  Type(w->TextBox[17], "110");
  Click(w->Cmd_Berechnen);
  EXPECT_NE(Status().find("Deep zoom with "), std::string::npos) << Status();

  int zooms = 0;
  while (Log10Height() > -60 && zooms < 100) {
    ZoomAtCentre();
    ++zooms;
  }
  ASSERT_LT(Log10Height(), -60);
  EXPECT_EQ(zooms, 78);
  EXPECT_TRUE(deep::LongOr(Key1()->vsxLong, Key1()->vsx) == deep::TBigFloat(-2.0));
  EXPECT_NE(Status().find(" bits"), std::string::npos) << Status();
  // The data window shows the long coordinates once refilled.
  w->Fill(*Shell().Movie1);
  EXPECT_EQ(gui_.GetText(w->TextBox[5]), Key1()->vsxLong);
  EXPECT_EQ(gui_.GetText(w->TextBox[4]), Key1()->bryLong);

  const fs::path shown = dir_ / "shown.png", rendered = dir_ / "rendered.png";
  const std::string heightText = Key1()->bryLong, centreText = Key1()->vsxLong;
  // The last history file holds every digit too.
  auto history = TParameterAnim::Load(
      "TEMP\\", "temp" + std::to_string(Shell().TempCounter) + ".ini", QuietHost());
  EXPECT_EQ(history->Parameter[history->Actual].bryLong, heightText);
  {
    const TBMPFontsLoaded fonts;
    gui_.AnswerFile(shown.string());
    ASSERT_TRUE(gui_.ChooseMenu(Window(), 120));
    ASSERT_TRUE(RunPending());
  }
  PlanChooser("Movie 1 Speichern als ...", "Deep");
  ASSERT_TRUE(gui_.PressToolbar(MainWindow().Toolbar, 1));
  ASSERT_TRUE(RunPending());
  ASSERT_TRUE(fs::exists(dir_ / "INI" / "Deep.ini"));
  auto back = TParameterAnim::Load("INI\\", "Deep.ini", QuietHost());
  EXPECT_EQ(back->Parameter[back->Actual].bryLong, heightText);
  EXPECT_EQ(back->Parameter[back->Actual].vsxLong, centreText);
  EXPECT_EQ(back->Parameter[back->Actual].Deep, 1);

  ResetShellState();
  std::string err;
  ASSERT_EQ(RenderHeadless(dir_, dir_ / "INI" / "Deep.ini", rendered, err), kRenderOk) << err;
  const TPictureComparison c = ComparePngs(shown, rendered);
  EXPECT_EQ(c.differing, 0);
  EXPECT_GT(c.colours, 0) << "a picture, not one flat colour";
}

TEST_F(DeepZoomTest, StatusNamesTheSwitchPastTheDoubleLimit) {
  StartSmall();
  TDataWindow* w = OpenData();
  ASSERT_NE(w, nullptr);
  Type(w->TextBox[4], "1e-16");
  Click(w->Cmd_Berechnen);
  EXPECT_NE(Status().find("Deep zoom (DeepZoom)"), std::string::npos) << Status();
  EXPECT_TRUE(Key1()->bryLong.empty());  // a double says 1e-16

  // A height no double holds is kept as typed; the window shows it.
  Type(w->TextBox[4], "2.5e-400");
  EXPECT_EQ(Key1()->bryLong, "2.5e-400");
  EXPECT_EQ(Key1()->bry, DBL_MIN);
  EXPECT_EQ(gui_.GetText(w->TextBox[4]), "2.5e-400");
  // Leaving the width as shown keeps the long height.
  Type(w->TextBox[3], gui_.GetText(w->TextBox[3]));
  EXPECT_EQ(Key1()->bryLong, "2.5e-400");
}

// A reference orbit of a million iterations at 1e-1000 takes long: it
// shows its progress and Escape stops it like any computation.
TEST_F(DeepZoomTest, EscapeStopsALongReferenceOrbit) {
  StartSmall();
  TDataWindow* w = OpenData();
  ASSERT_NE(w, nullptr);
  Click(w->CK_Deep);
  Type(w->TextBox[4], "1e-1000");
  Type(w->TextBox[5], "-0.1");  // inside: the orbit never escapes
  Type(w->TextBox[17], "1000000");
  ASSERT_EQ(Key1()->bryLong, "1e-1000");
  const auto start = std::chrono::steady_clock::now();
  PostShellCommand(83);
  gui_.KeyDown(kKeyEscape, Area());
  ASSERT_TRUE(RunPending());
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0);
  const TRender& r = *Shell().RenderM1;
  for (int32_t n : r.ibild) ASSERT_EQ(n, 0) << "no pixel computed";
  EXPECT_EQ(Status().rfind("1[KEY 1]", 0), 0u) << Status();
}

}  // namespace
}  // namespace ork::test
