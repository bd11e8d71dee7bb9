// The headless renderer paints what the desktop program shows: the same
// keyframe through the main window's compute, show and save commands and
// through orkelund-render gives the same picture, printed texts and grid
// numbers included.
#include "headless_render_util.h"
#include "main_window_test_util.h"
#include "picture/bmp_font_registry.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

TEST_F(TShellTest, RendererPicturesEqualTheDesktopPrograms) {
  UseSmallStartMovie(400, 300);
  // The movie's coding, and codings that read the final values, zval and
  // the period (the renderer leaves what its coding does not read unwritten).
  for (const char* coding : {"", "15", "13", "8"}) {
    auto movie = TParameterAnim::Load("INI\\", "Small.ini", QuietHost());
    TParameter& key = movie->Parameter[movie->Actual];
    key.TextOutputList = "MidPointX:MidPointY";
    key.Grid = "G,M";
    if (*coding != '\0') key.SelectPictureL = coding;
    ASSERT_EQ(movie->Save("INI\\", "Small.ini", QuietHost()), 1);
    const fs::path shown = dir_ / "shown.png", rendered = dir_ / "rendered.png";
    {
      const TBMPFontsLoaded fonts;  // as the program's entry holds them
      Start();
      ASSERT_TRUE(RunPending());
      gui_.AnswerFile(shown.string());
      ASSERT_TRUE(gui_.ChooseMenu(Window(), 120));
      ASSERT_TRUE(RunPending());
    }
    ResetShellState();
    std::string err;
    ASSERT_EQ(RenderHeadless(dir_, dir_ / "INI" / "Small.ini", rendered, err), kRenderOk) << err;
    EXPECT_EQ(ComparePngs(shown, rendered).differing, 0) << "coding " << coding;
  }
}

}  // namespace
}  // namespace ork::test
