#include <gtest/gtest.h>

#include <filesystem>

#include "model/process_state.h"
#include "commands_movie_test_util.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLoad1 = "Laden Movie 1 (Hauptbild)";
constexpr const char* kLoad2 = "Laden Movie 2";
constexpr const char* kSave1 = "Movie 1 Speichern als ...";
constexpr const char* kSave2 = "Movie 2  Speichern als ...";

TEST_F(TMovieCommandTest, CommandsMovieLoadBothMoviesThroughTheChooser) {
  UseSmallStartMovie();
  WriteMovie("Other.ini", "OtherOut", 0.25);
  Start();
  ASSERT_TRUE(RunPending());
  const int computed = Shell().TempCounter;

  // Movie 1: the chooser proposes the start movie and lists Other.
  PlanChooser(kLoad1, "Other");
  ASSERT_TRUE(gui_.PressToolbar(MainWindow().Toolbar, 0));
  ASSERT_TRUE(RunPending());
  EXPECT_TRUE(answers_.empty());
  EXPECT_EQ(Shell().ChosenMovieName, "Other.ini");
  EXPECT_EQ(Shell().Movie1->File, "Other.ini");
  EXPECT_EQ(Shell().Movie1->FileName, "OtherOut");
  // Computed at once (no start preview in these settings): a new picture,
  // a new history file and the status line of Movie 1.
  EXPECT_EQ(Shell().TempCounter, computed + 1);
  EXPECT_DOUBLE_EQ(Shell().CurrentKeyM1->vsx, 0.25);
  EXPECT_EQ(Status(), "1[KEY 1]  JuliaSet=0 Name M1: OtherOut");
  EXPECT_TRUE(gui_.Gadget(Area())->visible);
  EXPECT_TRUE(gui_.GadgetEnabled(Window()));

  // Movie 2: loaded and handed to its preview; the main picture stays.
  const TParameterAnim* movie1 = Shell().Movie1.get();
  PlanChooser(kLoad2, "Small");
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 3));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Movie2->File, "Small.ini");
  EXPECT_EQ(Shell().Movie1.get(), movie1);
  EXPECT_EQ(Composition().CompositionMode, -1000);
  EXPECT_TRUE(Shell().StartPreviewPending);
  EXPECT_EQ(Shell().TempCounter, computed + 1);

  // A start preview setting previews Movie 1 instead of computing it.
  Shell().StartPreviewSetting = true;
  Shell().StartPreviewPending = false;
  PlanChooser(kLoad1, "Small");
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 2));
  int previews = 0;
  SetCommandHandler(42, [&previews](int) { ++previews; });
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(previews, 1);
  EXPECT_EQ(Composition().CompositionMode, -1000);
  EXPECT_TRUE(Shell().StartPreviewPending);
  EXPECT_EQ(Shell().Movie1->File, "Small.ini");
}

TEST_F(TMovieCommandTest, CommandsMovieLoadRefusesSettingsDirectoriesAndCancel) {
  UseSmallStartMovie();
  Start();
  ASSERT_TRUE(RunPending());
  const TParameterAnim* movie1 = Shell().Movie1.get();
  const int computed = Shell().TempCounter;

  PlanChooser(kLoad1, "SeTTings");
  ASSERT_TRUE(Run(2));
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages().back(), "The Settings.ini should not be selected ;-)");
  // A name reaching outside the movie directory is refused as well.
  PlanChooser(kLoad2, "../TEMP/temp1");
  ASSERT_TRUE(Run(3));
  EXPECT_EQ(gui_.Messages().back(), "The name must not contain a directory: ../TEMP/temp1.ini");
  Plan(kLoad1, "Default", "Cancel");
  ASSERT_TRUE(Run(2));
  Plan(kLoad1, "Default", "");  // the close box
  ASSERT_TRUE(Run(2));
  EXPECT_TRUE(answers_.empty());
  EXPECT_EQ(Shell().Movie1.get(), movie1);
  EXPECT_EQ(Shell().TempCounter, computed);
  EXPECT_EQ(gui_.Messages().size(), 2u);
  EXPECT_TRUE(gui_.Gadget(Area())->visible);

  // A missing file is said by the loader, which falls back to Default.ini
  // (here a small one).
  fs::copy_file(dir_ / "INI" / "Small.ini", dir_ / "INI" / "Default.ini",
                fs::copy_options::overwrite_existing);
  PlanChooser(kLoad1, "Nowhere");
  ASSERT_TRUE(Run(2));
  EXPECT_EQ(gui_.Messages().back(), "The file Nowhere.ini is missing in the directory /INI! ");
  EXPECT_EQ(Shell().Movie1->FileName, "Orkelund-Start");

  // A movie named as the beginner picture shows that picture instead.
  auto m = TParameterAnim::Load("INI\\", "Small.ini", QuietHost());
  m->Parameter[1].FileNameKey = "onlyForBeginners";
  ASSERT_EQ(m->Save("INI\\", "Beginner.ini", QuietHost()), 1);
  const int before = Shell().TempCounter;
  PlanChooser(kLoad1, "Beginner");
  ASSERT_TRUE(Run(2));
  EXPECT_EQ(Shell().TempCounter, before);
  EXPECT_EQ(Shell().BeginnerName, "onlyForBeginners");
}

TEST_F(TMovieCommandTest, CommandsMovieSaveAsWritesTheChosenFile) {
  UseSmallStartMovie();
  Start();
  ASSERT_TRUE(RunPending());
  Key1()->vsx = 0.125;
  PlanChooser(kSave1, "Mine");
  ASSERT_TRUE(gui_.PressToolbar(MainWindow().Toolbar, 1));
  ASSERT_TRUE(RunPending());
  ASSERT_TRUE(fs::exists(dir_ / "INI" / "Mine.ini"));
  auto back = TParameterAnim::Load("INI\\", "Mine.ini", QuietHost());
  EXPECT_DOUBLE_EQ(back->Parameter[1].vsx, 0.125);
  EXPECT_EQ(back->OutputWidth, 80);

  // Movie 2 under its own title; an existing file is replaced.
  Shell().Movie2->FileName = "Second";
  PlanChooser(kSave2, "Mine");
  ASSERT_TRUE(Run(8));
  EXPECT_EQ(TParameterAnim::Load("INI\\", "Mine.ini", QuietHost())->FileName, "Second");
  EXPECT_TRUE(gui_.Messages().empty());
  EXPECT_TRUE(answers_.empty());

  // Writing over the settings would destroy them.
  const std::string settings = ReadAll(dir_ / "INI" / "Settings.ini");
  PlanChooser(kSave1, "settings");
  ASSERT_TRUE(Run(7));
  EXPECT_EQ(ReadAll(dir_ / "INI" / "Settings.ini"), settings);
  EXPECT_EQ(gui_.Messages().back(), "The Settings.ini should not be selected ;-)");

  // No movie: the message, no chooser.
  Shell().Movie2.reset();
  Shell().CurrentKeyM2 = nullptr;
  ASSERT_TRUE(Run(8));
  EXPECT_EQ(gui_.Messages().back(), "Load an ini-file for M1, please.");
}

TEST_F(TMovieCommandTest, CommandsMovieFailedSaveIsReportedAndKeepsTheRepairState) {
  UseSmallStartMovie();
  Start();
  ASSERT_TRUE(RunPending());
  // A directory in the way: the file cannot be written.
  fs::create_directory(dir_ / "INI" / "Blocked.ini");
  TParameterAnim& m1 = *Shell().Movie1;
  m1.Run = "[KEYS]-all";
  m1.Parameter[1].FileNameKey = "Stop! Sie haben noch nicht gespeichert.";
  PlanChooser(kSave1, "Blocked");
  ASSERT_TRUE(Run(7));
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages().back(),
            "Attention: The animation file could not be saved!?\nINI\\Blocked.ini: Is a directory");
  EXPECT_TRUE(fs::is_directory(dir_ / "INI" / "Blocked.ini"));
  // Still unsaved: the marks stay.
  EXPECT_EQ(m1.Run, "[KEYS]-all");
  EXPECT_EQ(m1.Parameter[1].FileNameKey, "Stop! Sie haben noch nicht gespeichert.");
  EXPECT_EQ(m1.File, "Small.ini");
}

TEST_F(TMovieCommandTest, CommandsMovieRepairedLoadAsksToSaveTheRepairedMovie) {
  UseSmallStartMovie();
  Start();
  ASSERT_TRUE(RunPending());
  // A movie without its output header, whose second keyframe carries the
  // notice of an unsaved repair. Its default-size picture is not computed.
  std::string text = ReadAll(dir_ / "INI" / "Small.ini");
  text.erase(0, text.find("[KEYS]"));
  SetCommandHandler(83, [](int) {});
  Replace(text, "PictNameOrNotice=Seepferdchental",
          "PictNameOrNotice=Stop! Sie haben noch nicht gespeichert.");
  WriteAll(dir_ / "INI" / "Broken.ini", text);

  // Loading it reports the repair and opens the save chooser (command 7).
  PlanChooser(kLoad1, "Broken");
  PlanChooser(kSave1, "Fixed");
  ASSERT_TRUE(Run(2));
  EXPECT_TRUE(answers_.empty());
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages().front().rfind("Please save the ini-DataSet.", 0), 0u);
  TParameterAnim& m1 = *Shell().Movie1;
  EXPECT_EQ(m1.Run, "OK");
  EXPECT_EQ(m1.Parameter[2].FileNameKey, "OK");
  EXPECT_EQ(m1.Parameter[1].FileNameKey, "Orkelund");
  auto fixed = TParameterAnim::Load("INI\\", "Fixed.ini", QuietHost());
  EXPECT_EQ(fixed->Run, "OK");
  EXPECT_EQ(fixed->Parameter[2].FileNameKey, "OK");
  EXPECT_EQ(fixed->Parameter[1].FileNameKey, "Orkelund");

  // The same file loaded as Movie 2 asks to save Movie 2.
  Shell().StartPreviewPending = false;
  PlanChooser(kLoad2, "Broken");
  PlanChooser(kSave2, "Fixed2");
  ASSERT_TRUE(Run(3));
  EXPECT_TRUE(answers_.empty());
  EXPECT_EQ(Shell().Movie2->Run, "OK");
  EXPECT_EQ(Shell().Movie1.get(), &m1);
  EXPECT_TRUE(fs::exists(dir_ / "INI" / "Fixed2.ini"));

  // At start Movie 2 is a copy of Movie 1: saving the repaired Movie 1
  // while the start preview is pending clears the copy's marks too.
  m1.Run = "[KEYS]-all";
  Shell().Movie2->Run = "[KEYS]-all";
  Shell().Movie2->Parameter[1].FileNameKey = "Stop! x";
  Shell().StartPreviewPending = true;
  PlanChooser(kSave1, "Fixed3");
  ASSERT_TRUE(Run(7));
  EXPECT_EQ(Shell().Movie2->Run, "OK");
  EXPECT_EQ(Shell().Movie2->Parameter[1].FileNameKey, "OK");
}

TEST_F(TMovieCommandTest, CommandsMovieSwapAndTakeC) {
  UseSmallStartMovie();
  WriteMovie("Other.ini", "OtherOut", 0.25, 80, 60, 2);
  Start();
  ASSERT_TRUE(RunPending());
  PlanChooser(kLoad2, "Other");
  ASSERT_TRUE(Run(3));
  int doubles = 0;
  SetCommandHandler(89, [&doubles](int) { ++doubles; });

  // Single picture: exchanged, the keyframes and renders released.
  Composition().CompositionMode = 1;
  ASSERT_TRUE(Run(9));
  EXPECT_EQ(Shell().Movie1->FileName, "OtherOut");
  EXPECT_EQ(Shell().Movie1->Count, 2);
  EXPECT_EQ(Shell().Movie2->FileName, "Orkelund-Start");
  EXPECT_TRUE(fs::exists(dir_ / "TEMP" / "Tausch1B1.ini"));
  EXPECT_TRUE(fs::exists(dir_ / "TEMP" / "Tausch2B2.ini"));
  EXPECT_EQ(Shell().CurrentKeyM1, nullptr);
  EXPECT_EQ(Shell().RenderM1, nullptr);
  EXPECT_EQ(Shell().RenderM2, nullptr);
  EXPECT_EQ(doubles, 0);
  // Command 1 has nothing to redisplay now.
  ASSERT_TRUE(Run(1));

  // A double picture is computed again with the sides exchanged.
  Composition().CompositionMode = 22;
  ASSERT_TRUE(Run(9));
  EXPECT_EQ(Shell().Movie1->FileName, "Orkelund-Start");
  EXPECT_EQ(doubles, 1);

  // An exchange file that cannot be written leaves both movies.
  fs::remove(dir_ / "TEMP" / "Tausch1B1.ini");
  fs::create_directory(dir_ / "TEMP" / "Tausch1B1.ini");
  const TParameterAnim* movie1 = Shell().Movie1.get();
  ASSERT_TRUE(Run(9));
  EXPECT_EQ(Shell().Movie1.get(), movie1);
  EXPECT_EQ(gui_.Messages().back(),
            "Attention: The animation file could not be saved!?\nTEMP\\Tausch1B1.ini: Is a directory");

  // Command 10: Movie 2's current key and its C go into Movie 1.
  TParameterAnim& m1 = *Shell().Movie1;
  TParameterAnim& m2 = *Shell().Movie2;
  m2.Actual = 2;
  m2.Parameter[2].CCx = 0.5;
  m2.Parameter[2].CCy = -0.75;
  ASSERT_TRUE(Run(10));
  EXPECT_EQ(m1.Actual, 2);
  EXPECT_EQ(ShownKeys().LastKeyM1, 2);
  EXPECT_DOUBLE_EQ(m1.Parameter[2].CCx, 0.5);
  EXPECT_DOUBLE_EQ(m1.Parameter[2].CCy, -0.75);
  // A key Movie 1 lacks changes nothing.
  m1.Count = 1;
  m1.Actual = 1;
  ASSERT_TRUE(Run(10));
  EXPECT_EQ(m1.Actual, 1);
}

}  // namespace
}  // namespace ork::test
