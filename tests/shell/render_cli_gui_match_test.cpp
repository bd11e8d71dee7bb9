// The headless renderer paints what the desktop program shows: the same
// keyframe through the main window's compute, show and save commands and
// through orkelund-render gives the same picture, printed texts and grid
// numbers included.
#include <sstream>

#include "main_window_test_util.h"
#include "picture/bmp_font_registry.h"
#include "picture/picture_files.h"
#include "shell/render_cli.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

TEST_F(TShellTest, RendererPicturesEqualTheDesktopPrograms) {
  UseSmallStartMovie(400, 300);
  auto movie = TParameterAnim::Load("INI\\", "Small.ini", QuietHost());
  TParameter& key = movie->Parameter[movie->Actual];
  key.TextOutputList = "MidPointX:MidPointY";
  key.Grid = "G,M";
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
  TRenderOptions options;
  options.WorkDir = dir_.string();
  options.Movie = (dir_ / "INI" / "Small.ini").string();
  options.Outs = {rendered.string()};
  options.Quiet = true;
  std::ostringstream out, err;
  ASSERT_EQ(RunRender(options, out, err), kRenderOk) << err.str();

  const TPixmapPtr a = LoadPng(shown.string()), b = LoadPng(rendered.string());
  ASSERT_TRUE(a && b);
  ASSERT_EQ(a->Width(), b->Width());
  ASSERT_EQ(a->Height(), b->Height());
  int differing = 0;
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x) differing += a->Get(x, y) != b->Get(x, y);
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace ork::test
