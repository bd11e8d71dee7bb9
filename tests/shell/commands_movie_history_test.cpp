#include <gtest/gtest.h>

#include <filesystem>

#include "model/process_state.h"
#include "commands_movie_test_util.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBackDialog = "Jump back with preview";

// Four computed pictures whose keyframes differ in their centre x:
// history file n holds vsx = n / 10.
class TMovieHistoryTest : public TMovieCommandTest {
 protected:
  void ComputeFour() {
    UseSmallStartMovie();
    Start();
    Key1()->vsx = 0.1;
    ASSERT_TRUE(RunPending());
    for (int n = 2; n <= 4; ++n) {
      Key1()->vsx = n / 10.0;
      ASSERT_TRUE(Run(83));
    }
    ASSERT_EQ(Shell().TempCounter, 4);
  }
  double Vsx1() const { return Shell().Movie1->Parameter[Shell().Movie1->Actual].vsx; }
};

TEST_F(TMovieHistoryTest, CommandsMovieBackButtonLoadsEarlierPicturesAsMainImage) {
  ComputeFour();
  const THandle toolbar = MainWindow().Toolbar;
  for (int press = 1; press <= 3; ++press) {
    ASSERT_TRUE(gui_.PressToolbar(toolbar, 3));
    ASSERT_TRUE(RunPending());
    EXPECT_EQ(Shell().BackRepeat, press);
    EXPECT_EQ(Shell().Movie1->File, "temp" + std::to_string(4 - press) + ".ini");
    EXPECT_DOUBLE_EQ(Vsx1(), (4 - press) / 10.0);
    // Computed in the main window, without a new history file.
    EXPECT_EQ(Composition().CompositionMode, 1);
    EXPECT_EQ(Shell().TempCounter, 4);
    EXPECT_TRUE(Computed(Shell().RenderM1.get()));
    EXPECT_EQ(Shell().CurrentKeyM1, Key1());
    EXPECT_EQ(Status(), "1[KEY 1]  JuliaSet=0 Name M1: Orkelund-Start");
  }
  // Never before the first file.
  ASSERT_TRUE(gui_.PressToolbar(toolbar, 3));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Movie1->File, "temp1.ini");
  // Re-centring computes a new picture and starts the counting again.
  gui_.KeyDown('C', Area());
  gui_.MouseMove(Area(), Shell().RenderM1->PaintOffsetX + 40,
                 Shell().RenderM1->PaintOffsetY + 30);
  gui_.KeyUp('C', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().BackRepeat, 0);
  ASSERT_EQ(Shell().TempCounter, 5);
  ASSERT_TRUE(gui_.PressToolbar(toolbar, 3));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Movie1->File, "temp4.ini");
  EXPECT_TRUE(gui_.Messages().empty());

  // A movie too high for the main window is only previewed.
  int shows = 0;
  SetCommandHandler(105, [&shows](int) { ++shows; });
  Shell().Movie1->OutputHeight = 600;
  SaveHistoryFile(*Shell().Movie1);
  Shell().BackIndex = Shell().TempCounter;
  ASSERT_TRUE(Run(97));
  ASSERT_EQ(previews_.size(), 1u);
  EXPECT_EQ(previews_[0].slot, TSlot::PreviewM1_1);
  EXPECT_EQ(previews_[0].kind, 0);
  EXPECT_EQ(previews_[0].number, 1);
  EXPECT_EQ(previews_[0].width, Shell().PreviewWidth);
  EXPECT_EQ(previews_[0].title, "1 Preview M1");
  EXPECT_EQ(previews_[0].movieFile, "temp6.ini");
  EXPECT_FALSE(Computed(Shell().RenderM1.get()));
  EXPECT_EQ(shows, 0);
}

TEST_F(TMovieHistoryTest, CommandsMovieBackPreviewAndMovie2) {
  ComputeFour();
  const TParameterAnim* movie1 = Shell().Movie1.get();
  // One picture back as a preview: a movie of its own.
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 100));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().BackIndex, 3);
  ASSERT_TRUE(Shell().BackMovie);
  EXPECT_EQ(Shell().BackMovie->File, "temp3.ini");
  EXPECT_DOUBLE_EQ(Shell().BackMovie->Parameter[1].vsx, 0.3);
  EXPECT_EQ(Shell().Movie1.get(), movie1);
  EXPECT_EQ(Composition().CompositionMode, -1000);
  ASSERT_EQ(previews_.size(), 1u);
  EXPECT_EQ(previews_[0].slot, TSlot::PreviewM1_1);
  EXPECT_EQ(previews_[0].kind, 2);
  EXPECT_EQ(previews_[0].number, 4);
  EXPECT_EQ(previews_[0].title, "temp3.ini");

  // That picture as Movie 2: previewed, not computed.
  ASSERT_TRUE(Run(98));
  EXPECT_EQ(Shell().Movie2->File, "temp3.ini");
  EXPECT_EQ(Shell().CurrentKeyM2, Shell().Movie2->GetActualParameter());
  ASSERT_TRUE(Shell().RenderM2);
  EXPECT_FALSE(Computed(Shell().RenderM2.get()));
  EXPECT_EQ(Status(), "2[KEY 1]  JuliaSet=0 Name M2: Orkelund-Start");
  ASSERT_EQ(previews_.size(), 2u);
  EXPECT_EQ(previews_[1].slot, TSlot::PreviewM2_1);
  EXPECT_EQ(previews_[1].kind, 1);
  EXPECT_EQ(previews_[1].title, "1 Preview M2");
  for (THandle m : gui_.TopMenus(Window())) EXPECT_TRUE(gui_.MenuEnabled(m));
  EXPECT_TRUE(gui_.Messages().empty());
}

TEST_F(TMovieHistoryTest, CommandsMovieBackStepDialog) {
  ComputeFour();
  Shell().BackRepeat = 2;
  Shell().BackIndex = 3;
  // The dialog as the user sees it; a toolbar press meanwhile is consumed.
  onDialog_ = [this](TScriptedGui& g, THandle w) {
    const TRect r = g.Geometry(w);
    const TRect main = g.Geometry(Window());
    EXPECT_EQ(r.x, main.x);
    EXPECT_EQ(r.y, main.y);
    EXPECT_EQ(r.width, 266);
    EXPECT_EQ(r.height, 136);
    EXPECT_NE(g.FindGadget(w, TGadgetKind::Label, "Back how many pictures ?"), 0);
    EXPECT_NE(g.FindGadget(w, TGadgetKind::Label, "There were only saved pictures, who"), 0);
    EXPECT_NE(g.FindGadget(w, TGadgetKind::Button, "Cancel"), 0);
    const THandle field = g.FindGadgets(w, TGadgetKind::TextField).front();
    EXPECT_EQ(g.GetText(field), "1");  // TempCounter - BackIndex
    EXPECT_TRUE(g.GadgetEnabled(Window()));
    g.PressToolbar(MainWindow().Toolbar, 10);
  };
  Plan(kBackDialog, "2", "Calculate image");
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 101));
  ASSERT_TRUE(RunPending());
  onDialog_ = {};
  EXPECT_TRUE(answers_.empty());
  EXPECT_EQ(Shell().TempCounter, 4);
  EXPECT_EQ(gui_.FindWindow(kBackDialog), 0);
  EXPECT_EQ(Shell().BackRepeat, 0);
  EXPECT_EQ(Shell().BackSteps, 2);
  EXPECT_EQ(Shell().BackIndex, 2);
  ASSERT_TRUE(Shell().BackMovie);
  EXPECT_EQ(Shell().BackMovie->File, "temp2.ini");

  // 0, a text that is no number, Cancel and the close box do nothing.
  for (const TDialogAnswer& a : {TDialogAnswer{kBackDialog, "0", "Calculate image"},
                                 TDialogAnswer{kBackDialog, "many", "Calculate image"},
                                 TDialogAnswer{kBackDialog, "3", "Cancel"},
                                 TDialogAnswer{kBackDialog, "3", ""}}) {
    Plan(a.title, a.typed, a.button);
    ASSERT_TRUE(Run(101));
    EXPECT_TRUE(answers_.empty());
    EXPECT_EQ(Shell().BackIndex, 2) << a.typed << a.button;
  }
  EXPECT_EQ(previews_.size(), 1u);
  // More steps than pictures stop at the first one.
  Plan(kBackDialog, "99", "Calculate image");
  ASSERT_TRUE(Run(101));
  EXPECT_EQ(Shell().BackIndex, 1);
  EXPECT_EQ(Shell().BackMovie->File, "temp1.ini");
}

TEST_F(TMovieHistoryTest, CommandsMovieMissingHistoryIsReportedAndChangesNothing) {
  UseSmallStartMovie();
  Start();
  ASSERT_TRUE(RunPending());
  // As if nothing had been computed in this run: temp1.ini is left from
  // an earlier one and must not be taken.
  Shell().TempCounter = 0;
  const TParameterAnim* movie1 = Shell().Movie1.get();
  ASSERT_TRUE(Run(100));
  ASSERT_TRUE(Run(103));
  ASSERT_EQ(gui_.Messages().size(), 2u);
  EXPECT_EQ(gui_.Messages()[0], "The picture temp1.ini does not exist in the directory /TEMP.");
  EXPECT_EQ(Shell().Movie1.get(), movie1);
  EXPECT_FALSE(Shell().BackMovie);
  EXPECT_TRUE(previews_.empty());
  // A history file that vanished.
  Shell().TempCounter = 1;
  fs::remove(dir_ / "TEMP" / "temp1.ini");
  Shell().BackIndex = 1;
  ASSERT_TRUE(Run(98));
  EXPECT_EQ(gui_.Messages().size(), 3u);
  EXPECT_EQ(Shell().Movie2->File, "Small.ini");
}

TEST_F(TMovieHistoryTest, CommandsMovieDuplicateAndDeleteKeyframes) {
  UseSmallStartMovie();
  Start();
  ASSERT_TRUE(RunPending());
  ASSERT_EQ(Shell().Movie1->Count, 4);
  Composition().CompositionMode = 22;

  // Duplicate key 1: written as the next history file and loaded back,
  // computed (60 pixels high), the composition kept.
  ASSERT_TRUE(Run(18));
  EXPECT_EQ(Shell().TempCounter, 2);
  EXPECT_EQ(Shell().Movie1->File, "temp2.ini");
  EXPECT_EQ(Shell().Movie1->Count, 5);
  EXPECT_EQ(Shell().Movie1->Actual, 2);
  EXPECT_EQ(Shell().Movie1->Parameter[2].FileNameKey, "Orkelund");
  EXPECT_EQ(ShownKeys().LastKeyM1, 2);
  EXPECT_EQ(Composition().CompositionMode, 22);
  EXPECT_TRUE(Computed(Shell().RenderM1.get()));
  EXPECT_TRUE(previews_.empty());

  // Movie 2: reloaded, not computed; Movie 1's shown key stays.
  ASSERT_TRUE(Run(19));
  EXPECT_EQ(Shell().TempCounter, 3);
  EXPECT_EQ(Shell().Movie2->Count, 5);
  EXPECT_EQ(Shell().Movie2->Actual, 2);
  EXPECT_EQ(ShownKeys().LastKeyM1, 2);
  EXPECT_FALSE(Computed(Shell().RenderM2.get()));
  EXPECT_EQ(Status(), "2[KEY 2]  JuliaSet=0 Name M2: Orkelund-Start");
  EXPECT_TRUE(previews_.empty());

  // Delete: Cancel keeps everything, OK deletes key 2 and computes.
  gui_.AnswerQuestion(false);
  ASSERT_TRUE(Run(20));
  EXPECT_EQ(gui_.Dialogs().back().text, "KEY2 delete really ?");
  EXPECT_EQ(Shell().Movie1->Count, 5);
  gui_.AnswerQuestion(true);
  ASSERT_TRUE(Run(20));
  EXPECT_EQ(Shell().TempCounter, 4);
  EXPECT_EQ(Shell().Movie1->Count, 4);
  EXPECT_EQ(Shell().Movie1->Actual, 1);
  EXPECT_EQ(ShownKeys().LastKeyM1, 1);
  EXPECT_EQ(Composition().CompositionMode, 1);

  // Higher pictures are previewed: above 200 rows after duplicating, above
  // 100 after deleting (50 pixels wide).
  Shell().Movie1->OutputHeight = 150;
  ASSERT_TRUE(Run(18));
  EXPECT_TRUE(previews_.empty());
  Shell().Movie1->OutputHeight = 201;
  ASSERT_TRUE(Run(18));
  ASSERT_EQ(previews_.size(), 1u);
  EXPECT_EQ(previews_[0].width, Shell().PreviewWidth);
  gui_.AnswerQuestion(true);
  Shell().Movie1->OutputHeight = 101;
  ASSERT_TRUE(Run(20));
  ASSERT_EQ(previews_.size(), 2u);
  EXPECT_EQ(previews_[1].width, 50);
  EXPECT_EQ(previews_[1].title, "1 Preview M1");
  EXPECT_EQ(Composition().CompositionMode, -1000);
  EXPECT_TRUE(gui_.Messages().empty());
  const int written = Shell().TempCounter;

  // The only keyframe cannot go: said, no file written, nothing reloaded.
  TParameterAnim& m1 = *Shell().Movie1;
  m1.Count = 1;
  m1.Actual = 1;
  gui_.AnswerQuestion(true);
  ASSERT_TRUE(Run(20));
  EXPECT_EQ(gui_.Messages().back(), "The only KEY cannot be deleted.");
  EXPECT_EQ(Shell().Movie1.get(), &m1);
  EXPECT_EQ(Shell().TempCounter, written);
  // A history file that cannot be written uses up no number.
  fs::create_directory(dir_ / "TEMP" / ("temp" + std::to_string(written + 1) + ".ini"));
  ASSERT_TRUE(Run(18));
  EXPECT_EQ(Shell().TempCounter, written);
  EXPECT_EQ(Shell().Movie1.get(), &m1);
  EXPECT_EQ(gui_.Messages().back().rfind("Attention: The animation file could not be saved!?", 0),
            0u);
  EXPECT_EQ(gui_.UnusedAnswers(), 0u);
}

}  // namespace
}  // namespace ork::test
