#include "film/film_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "film/film_host.h"
#include "model/ini_store.h"
#include "model/language.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/grid_state.h"

namespace ork {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<TParameterAnim> Movie(const std::string& name, const std::string& key1,
                                      const std::string& key2) {
  const std::string common =
      "\nHeightY=2.5\nMidPointX=-0.5\nMax_Iterat=40\nDoCalculate=1\n"
      "InterpolationList=(HeightY,+)\n";
  const std::string text = "[OUTPUT]\nWidth=24\nHeight=16\nFileName=" + name +
                           "\n[KEYS]\nCount=2\nActual=1\n[KEY1]\n" + key1 + common +
                           "[KEY2]\n" + key2 + common;
  auto ini = TINI::FromBytes("INI\\", name + ".ini", text);
  return TParameterAnim::FromIni(*ini, "INI\\", name + ".ini", QuietHost());
}

std::unique_ptr<TINI> Settings() {
  return TINI::FromBytes("", "Settings.ini",
                         "[AnimMode]\nPreview=0\n[Anim]\nFPS=5\nJPG=0\nPNG=1\nBMP=0\nAVI=1\n"
                         "[AnimPreview]\nFPS=4\nPNG=0\nJPG=1\nBMP=0\nAVI=0\nWidth=12\n");
}

class TScriptedDialog : public TFilmSettingsDialog {
 public:
  bool Run(TINI& settings) override {
    ++runs;
    gridAutoSeen = GridState().GridAutoMode;
    if (start) StoreFilmDialogValues(values, settings);
    return start;
  }
  bool start = true;
  TFilmDialogValues values;
  int runs = 0;
  int gridAutoSeen = -1;
};

class TCountingView : public TFilmView {
 public:
  void Begin(const std::string&) override { ++begun; }
  void ShowFrame(TRender&) override { ++shown; }
  int begun = 0, shown = 0;
};

class FilmCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::FilmScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    SetUiLanguage(TLanguage::German);
    Composition().CompositionMode = 1;
  }
  void TearDown() override {
    fs::remove_all(dir_);
    SetWorkDir(".");
    ResetProcessState();
  }
  fs::path dir_;
  test::TFilmHost host_;
  TCountingView view_;
};

TEST(FilmDialogValues, ReadAndStoredAsTheDialogDoes) {
  auto settings = Settings();
  TFilmDialogValues v = ReadFilmDialogValues(*settings);
  EXPECT_FALSE(v.Preview);
  EXPECT_EQ(v.Normal.Fps, "5");
  EXPECT_TRUE(v.Normal.Png && v.Normal.Avi && !v.Normal.Jpg && !v.Normal.Bmp);
  EXPECT_EQ(v.PreviewKind.Fps, "4");
  EXPECT_TRUE(v.PreviewKind.Jpg && !v.PreviewKind.Avi);
  EXPECT_EQ(v.Width, "12");

  // Texts go in as typed, check boxes as "1" / "0"; missing sections appear.
  v.Preview = true;
  v.Normal.Fps = " 12x";
  v.PreviewKind.Bmp = true;
  TINI empty;
  StoreFilmDialogValues(v, empty);
  StoreFilmDialogValues(v, *settings);
  for (const TINI* s : {&empty, settings.get()}) {
    EXPECT_EQ(s->Find("AnimMode")->Find("Preview")->Value, "1");
    EXPECT_EQ(s->Find("Anim")->Find("FPS")->Value, " 12x");
    EXPECT_EQ(s->Find("Anim")->Find("JPG")->Value, "0");
    EXPECT_EQ(s->Find("AnimPreview")->Find("BMP")->Value, "1");
    EXPECT_EQ(s->Find("AnimPreview")->Find("Width")->Value, "12");
  }
  EXPECT_EQ(settings->Find("Anim")->ParameterList.size(), 5u) << "existing keys are replaced";

  TFilmSettingsPreset preset(false);
  EXPECT_TRUE(preset.Run(*settings));
  EXPECT_EQ(settings->Find("AnimMode")->Find("Preview")->Value, "0");
  EXPECT_EQ(settings->Find("AnimPreview")->Find("BMP")->Value, "1") << "the rest kept";
}

TEST_F(FilmCommandTest, ProducesTheFilmOfMovieOne) {
  auto m1 = Movie("Eins", "SecondsFor+=1", "HeightY=1");
  auto settings = Settings();
  GridState().GridAutoMode = 2;
  TScriptedDialog dialog;
  dialog.values = ReadFilmDialogValues(*settings);
  TFilmRequest request{m1.get(), nullptr, settings.get()};
  const TFilmCommandResult r = RunFilmCommand(request, host_, dialog, view_);
  EXPECT_EQ(dialog.gridAutoSeen, 0) << "GridAutoMode is cleared before the dialog";
  ASSERT_EQ(r.End, TFilmCommandResult::TEnd::Produced);
  EXPECT_EQ(r.Frames1, 4);
  EXPECT_EQ(r.Run.FramesWritten, 4);
  EXPECT_EQ(view_.begun, 1);
  EXPECT_TRUE(fs::exists(dir_ / "Output" / "Eins-Animation.ini"));
  EXPECT_TRUE(fs::exists(dir_ / "Output" / "Eins-Anim-S00001-F04.png"));
  EXPECT_EQ(r.Run.AviFiles.size(), 1u);
  EXPECT_EQ(m1->Actual, 1);
}

TEST_F(FilmCommandTest, StopsBeforeProducingWhenDialogOrPreparationSaysNo) {
  auto m1 = Movie("Eins", "SecondsFor+=1", "HeightY=1");
  auto settings = Settings();
  TScriptedDialog dialog;
  dialog.start = false;
  TFilmRequest request{m1.get(), nullptr, settings.get()};
  EXPECT_EQ(RunFilmCommand(request, host_, dialog, view_).End,
            TFilmCommandResult::TEnd::DialogCancelled);
  EXPECT_FALSE(fs::exists(dir_ / "Output" / "Eins-Animation.ini"));

  // Different formulas in one interval abandon the preparation.
  dialog.start = true;
  dialog.values = ReadFilmDialogValues(*settings);
  auto bad = Movie("Zwei", "SecondsFor+=1\nNoOfFormula=1", "NoOfFormula=2");
  request.Movie1 = bad.get();
  EXPECT_EQ(RunFilmCommand(request, host_, dialog, view_).End,
            TFilmCommandResult::TEnd::PreparationAbandoned);
  EXPECT_EQ(view_.begun, 0);
  ASSERT_FALSE(host_.Infos.empty());

  // A two-movie composition without Movie 2 produces nothing.
  Composition().CompositionMode = 44;
  request.Movie1 = m1.get();
  EXPECT_EQ(RunFilmCommand(request, host_, dialog, view_).End,
            TFilmCommandResult::TEnd::MissingMovie);
  EXPECT_EQ(dialog.runs, 2);
}

TEST_F(FilmCommandTest, TwoMovieCompositionPreparesBothMovies) {
  auto m1 = Movie("Links", "SecondsFor+=1", "HeightY=1");
  auto m2 = Movie("Rechts", "SecondsFor+=2", "HeightY=1");
  auto settings = Settings();
  Composition().CompositionMode = 44;
  TScriptedDialog dialog;
  dialog.values = ReadFilmDialogValues(*settings);
  TFilmRequest request{m1.get(), m2.get(), settings.get()};
  const TFilmCommandResult r = RunFilmCommand(request, host_, dialog, view_);
  ASSERT_EQ(r.End, TFilmCommandResult::TEnd::Produced);
  EXPECT_EQ(r.Frames1, 4);
  EXPECT_EQ(r.Frames2, 9);
  EXPECT_TRUE(fs::exists(dir_ / "Output" / "Rechts-Animation.ini"));
  EXPECT_EQ(r.Run.FramesWritten, 4);
  EXPECT_EQ(r.Run.FramesComputed, 8);
  EXPECT_EQ(GridState().GridAutoMode, 0);
}

}  // namespace
}  // namespace ork
