#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "main_window_test_util.h"
#include "model/latin1.h"
#include "model/number_format.h"
#include "picture/composition.h"
#include "shell/commands_composition.h"
#include "shell/shell_host.h"

namespace ork::test {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr const char* kInsertTitle = "Startpunkt Movie 2 in Movie 1 und Durchsichtigkeit";

class TCompositionTest : public TShellTest {
 protected:
  // Both movies are the 4-key start movie at 80 x 60 (Movie 2 a copy), the
  // single picture of Movie 1 computed.
  void StartSmall(const std::string& language = "EN") {
    UseSmallStartMovie(80, 60, language);
    Start();
    ASSERT_TRUE(RunPending());
  }
  TParameterAnim& M1() { return *Shell().Movie1; }
  TParameterAnim& M2() { return *Shell().Movie2; }
  static void Lengthen(TParameterAnim& movie, int count) {
    while (movie.Count < count) movie.AddParameter(movie.Parameter[1]);
  }
  void Choose(int command) {
    ASSERT_TRUE(gui_.ChooseMenu(Window(), command)) << command;
    ASSERT_TRUE(RunPending());
  }
  // A command posted as a tool window or the loop would (also while its
  // menu is disabled).
  void Post(int command) {
    PostShellCommand(command);
    ASSERT_TRUE(RunPending());
  }
  // A marker in a movie's counts survives unless the movie is recomputed
  // (the render object itself is reused).
  static void MarkCounts(TRender& r) { r.ibild[0] = -12345; }
  static bool CountsMarked(const TRender& r) { return r.ibild[0] == -12345; }
  bool MenusUsable() { return gui_.MenuChoosable(gui_.FindMenuItem(Window(), 89)); }
  std::vector<std::string> Messages() const { return gui_.Messages(); }
  std::string LastMessage() const {
    const auto m = gui_.Messages();
    return m.empty() ? "" : m.back();
  }
  bool HistoryFile(int n) const {
    return std::filesystem::is_regular_file(dir_ / "TEMP" / ("temp" + std::to_string(n) + ".ini"));
  }
  // Answers the insert-position dialog when it opens: checks its fields
  // against `expected` (x, y, opacity), types `typed` (empty: leaves the
  // fields) and presses OK, or closes it by its close box.
  void AnswerInsertDialog(std::vector<std::string> expected, std::vector<std::string> typed,
                          bool ok = true) {
    dialogs_ = 0;
    gui_.SetIdleHook([this, expected, typed, ok](TScriptedGui& g) {
      const THandle w = g.FindWindow(kInsertTitle);
      if (!w) return;
      ++dialogs_;
      const TScriptedGadget* win = g.Gadget(w);
      EXPECT_EQ(win->rect.x, 32);
      EXPECT_EQ(win->rect.width, 240);
      EXPECT_EQ(win->rect.height, 150);
      const std::vector<THandle> fields = g.FindGadgets(w, TGadgetKind::TextField);
      ASSERT_EQ(fields.size(), 3u);
      for (size_t i = 0; i < 3; ++i) EXPECT_EQ(g.GetText(fields[i]), expected[i]) << i;
      for (size_t i = 0; i < typed.size(); ++i) g.TypeText(fields[i], typed[i]);
      if (ok)
        g.Click(g.FindGadget(w, TGadgetKind::Button, "OK"));
      else
        g.CloseBox(w);
    });
  }
  int dialogs_ = 0;
};

TEST_F(TCompositionTest, DoublePictureOfBothMoviesWithSeparatorStatusAndHistory) {
  StartSmall();
  const int temp = Shell().TempCounter;
  Choose(89);
  TShellState& s = Shell();
  ASSERT_TRUE(s.RenderM2);
  EXPECT_EQ(s.RenderM2->Width, 80);
  EXPECT_EQ(s.RenderM2->Height, 60);
  const TPixmap& d = *s.RenderM1->ImageD;
  ASSERT_EQ(d.Width(), 160);
  ASSERT_EQ(d.Height(), 60);
  for (int y : {0, 30, 59}) {
    EXPECT_EQ(d.Get(79, y), kBlack);
    EXPECT_EQ(d.Get(78, y), kWhite);
  }
  EXPECT_EQ(Composition().ShownImage, 2);
  EXPECT_EQ(Composition().CompositionMode, 222);
  EXPECT_EQ(Status(), "Movie 2 beside movie 1 for [KEY 1]");
  // Both movies went to the history, the menus are usable again.
  EXPECT_EQ(s.TempCounter, temp + 2);
  EXPECT_TRUE(HistoryFile(temp + 1));
  EXPECT_TRUE(HistoryFile(temp + 2));
  EXPECT_TRUE(MenusUsable());
  EXPECT_EQ(s.Tools.ClickSide, 0);
  EXPECT_EQ(ShownKeys().LastKeyM2, 1);
  // The picture area shows the double picture.
  EXPECT_EQ(gui_.Gadget(Area())->lastPixmapWidth, 160);

  // A smaller Movie 2 is accepted (and computed at its own size), a larger
  // one refused with CompositionMode kept.
  M2().OutputWidth = 40;
  Choose(89);
  EXPECT_EQ(s.RenderM2->Width, 40);
  EXPECT_TRUE(Messages().empty());
  M2().OutputWidth = 100;
  MarkCounts(*s.RenderM2);
  Choose(89);
  EXPECT_EQ(LastMessage(), "Please set the same resolution in pixels for both images.");
  EXPECT_EQ(Composition().CompositionMode, 22);
  EXPECT_TRUE(CountsMarked(*s.RenderM2));
}

TEST_F(TCompositionTest, FourfoldPicturesAndDoublePictureOfMovie1) {
  StartSmall();
  Choose(94);
  TShellState& s = Shell();
  const TPixmap& v = *s.RenderM1->ImageV;
  ASSERT_EQ(v.Width(), 160);
  ASSERT_EQ(v.Height(), 120);
  EXPECT_EQ(v.Get(79, 10), kWhite);
  EXPECT_EQ(v.Get(80, 10), kBlack);
  EXPECT_EQ(v.Get(10, 59), kWhite);
  EXPECT_EQ(v.Get(10, 60), kBlack);
  EXPECT_EQ(Composition().ShownImage, 4);
  EXPECT_EQ(Composition().CompositionMode, 44);
  EXPECT_EQ(Status(), "Movie 2 beside movie 1, two each for [KEY 1]");

  // Fourfold of both movies needs equal sizes, also when Movie 2 is smaller.
  M2().OutputHeight = 50;
  Choose(94);
  EXPECT_EQ(LastMessage(), "Please set the same resolution in pixels for both images.");
  // (The JuliaSet menu is disabled on a fourfold picture.)
  Post(90);
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Composition().CompositionMode, 21);

  // Movie 1's own double and fourfold pictures.
  const int temp = s.TempCounter;
  Choose(88);
  EXPECT_EQ(Composition().CompositionMode, 2);
  EXPECT_EQ(Composition().ShownImage, 2);
  EXPECT_EQ(s.RenderM1->ImageD->Get(79, 5), kBlack);
  EXPECT_EQ(s.TempCounter, temp + 1);
  Choose(92);
  EXPECT_EQ(Composition().CompositionMode, 4);
  EXPECT_EQ(Composition().ShownImage, 4);

  // Turning four times brings the colour lists back.
  TParameter& k = *s.CurrentKeyM1;
  k.farbtabL = "1:2:3:4";
  k.ColShiftL = "0:10:20:30";
  k.SelectPictureL = "1:2:3:4";
  Choose(92);
  const std::string tab = k.farbtabL, shift = k.ColShiftL;
  Choose(93);
  EXPECT_NE(k.farbtabL, tab);
  EXPECT_EQ(Composition().CompositionMode, 4);
  Choose(93);
  Choose(93);
  Choose(93);
  EXPECT_EQ(k.farbtabL, tab);
  EXPECT_EQ(k.ColShiftL, shift);
}

TEST_F(TCompositionTest, InsertAAndBAtAPositionAndColourAddition) {
  StartSmall();
  TShellState& s = Shell();
  // Movie 2 shows another part of the plane, so that a shifted insert
  // shows. Insert A starts at (0, height / 2) at full opacity; the user
  // moves it.
  M2().Parameter[1].vsx += 0.3 * M2().Parameter[1].brx;
  AnswerInsertDialog({"0", "30", "255"}, {"10", "20", "255"});
  Choose(85);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_EQ(Composition().InsertPosX, 10);
  EXPECT_EQ(Composition().InsertPosY, 20);
  EXPECT_EQ(Composition().CompositionMode, -1);
  EXPECT_EQ(Composition().ShownImage, 1);
  EXPECT_EQ(Status(), "Movie 2 in Movie 1 for [KEY 1]");
  // Movie 2's pixel (x, y) lies at (x + 9, y + 19) of the main picture
  // (Movie 2's own single picture for comparison; it is not uniform).
  const TPixmap inserted = *s.RenderM1->Image;
  ShowCalculated(s.CurrentKeyM2, s.RenderM2.get());
  const TPixmap& own = *s.RenderM2->Image;
  int differing = 0, shiftedWrong = 0;
  for (int y = 0; y + 19 < 60; ++y)
    for (int x = 0; x + 9 < 80; ++x) {
      differing += own.Get(x, y) != own.Get(0, 0);
      shiftedWrong += inserted.Get(x + 9, y + 19) != own.Get(x, y);
    }
  EXPECT_GT(differing, 100);
  EXPECT_EQ(shiftedWrong, 0);

  // Chosen again, the dialog offers the values entered; its close box
  // changes nothing.
  AnswerInsertDialog({"10", "20", "255"}, {"1", "2", "3"}, false);
  Choose(85);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_EQ(Composition().InsertPosX, 10);
  EXPECT_EQ(Composition().InsertOpacity, 255);

  // Insert B starts at (width / 2, 0); text that is no number counts 0.
  AnswerInsertDialog({"40", "0", "255"}, {"40", "x", "128"});
  Choose(86);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_EQ(Composition().InsertPosY, 0);
  EXPECT_EQ(Composition().InsertOpacity, 128);
  EXPECT_EQ(Composition().CompositionMode, 0);
  EXPECT_EQ(Status(), "Movie 2 in Movie 1 for [KEY 1]");

  // Colour addition: origin and half opacity; its status line stays.
  AnswerInsertDialog({"0", "0", "128"}, {});
  SetStatus("unchanged");
  Choose(87);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_EQ(Composition().CompositionMode, -12);
  EXPECT_EQ(Composition().InsertOpacity, 128);
  EXPECT_NE(Status().rfind("Movie 2", 0), 0u);

  // Insert B needs Movie 2 at least as large as Movie 1; the start values
  // are taken before the refusal.
  gui_.SetIdleHook({});
  M2().OutputHeight = 59;
  Choose(86);
  EXPECT_EQ(LastMessage(), "Please use InsertA or increase M2.");
  EXPECT_EQ(Composition().CompositionMode, 0);
  EXPECT_EQ(Composition().InsertPosX, 40);
  EXPECT_EQ(Composition().InsertOpacity, 255);
}

TEST_F(TCompositionTest, ZoomInOneHalfRecomputesOnlyThatMovie) {
  StartSmall();
  Choose(89);
  TShellState& s = Shell();
  MarkCounts(*s.RenderM1);
  MarkCounts(*s.RenderM2);
  const double bry1 = s.Movie1->Parameter[1].bry, bry2 = s.Movie2->Parameter[1].bry;
  const int ox = s.RenderM1->PaintOffsetX, oy = s.RenderM1->PaintOffsetY;
  auto zoom = [&](int x0) {
    gui_.KeyDown('Z', Area());
    gui_.MouseMove(Area(), ox + x0, oy + 10);
    gui_.MouseDown(Area(), ox + x0, oy + 10);
    gui_.MouseMove(Area(), ox + x0 + 20, oy + 30);
    gui_.MouseDown(Area(), ox + x0 + 20, oy + 30);
    gui_.KeyUp('Z', Area());
    ASSERT_TRUE(RunPending());
  };
  zoom(100);  // right half
  EXPECT_TRUE(CountsMarked(*s.RenderM1));
  EXPECT_FALSE(CountsMarked(*s.RenderM2));
  EXPECT_DOUBLE_EQ(s.Movie1->Parameter[1].bry, bry1);
  EXPECT_DOUBLE_EQ(s.Movie2->Parameter[1].bry, bry2 * 20 / 60);
  EXPECT_EQ(s.Tools.ClickSide, 0);
  EXPECT_EQ(Composition().ShownImage, 2);

  MarkCounts(*s.RenderM2);
  zoom(10);  // left half
  EXPECT_FALSE(CountsMarked(*s.RenderM1));
  EXPECT_TRUE(CountsMarked(*s.RenderM2));
  EXPECT_DOUBLE_EQ(s.Movie1->Parameter[1].bry, bry1 * 20 / 60);
  EXPECT_EQ(s.Tools.ClickSide, 0);
  EXPECT_EQ(Status(), "Movie 2 beside movie 1 for [KEY 1]");
}

TEST_F(TCompositionTest, NewCDoublePictureThenJuliaClicks) {
  StartSmall();
  TShellState& s = Shell();
  M1().Parameter[1].CCx = 0.25;
  M1().Parameter[1].CCy = -0.5;
  Choose(90);
  ASSERT_TRUE(s.RenderM2);
  EXPECT_EQ(M2().Parameter[1].julia, 1);
  EXPECT_EQ(M2().Parameter[1].CCx, 0.25);
  EXPECT_EQ(M2().Parameter[1].CCy, -0.5);
  EXPECT_TRUE(Composition().KeepLeftPicture);
  EXPECT_EQ(Composition().ShownImage, 2);
  const TPixmap& d = *s.RenderM1->ImageD;
  EXPECT_EQ(d.Get(79, 5), kBlack);
  EXPECT_EQ(d.Get(78, 5), kWhite);
  EXPECT_TRUE(MenusUsable());

  // J on the left picture: its point becomes Movie 2's constant, without
  // the transfer question while the left picture is kept; only Movie 2 is
  // computed.
  MarkCounts(*s.RenderM1);
  const int ox = s.RenderM1->PaintOffsetX, oy = s.RenderM1->PaintOffsetY;
  gui_.KeyDown('J', Area());
  gui_.MouseMove(Area(), ox + 60, oy + 15);
  gui_.KeyUp('J', Area());
  ASSERT_TRUE(RunPending());
  const TParameter& k1 = M1().Parameter[1];
  const TParameter& k2 = M2().Parameter[1];
  EXPECT_NE(k1.pox, 0.0);
  EXPECT_EQ(k2.CCx, k1.pox);
  EXPECT_EQ(k2.CCy, k1.poy);
  EXPECT_EQ(k2.julia, 1);
  EXPECT_TRUE(CountsMarked(*s.RenderM1));
  EXPECT_TRUE(Composition().KeepLeftPicture);
  EXPECT_EQ(Status(), "1+2[KEY 1] li: No " + std::to_string(k1.GameNo) + " re: No " +
                          std::to_string(k2.GameNo) + " als Juliamenge bei C=(" +
                          RealText17(k2.CCx) + ", " + RealText17(k2.CCy) + ")");
  EXPECT_EQ(gui_.UnusedAnswers(), 0u);

  // A composition chosen afterwards ends the kept left picture: insert A
  // shows the insert and leaves Movie 2's constant alone.
  const double cx = k2.CCx;
  AnswerInsertDialog({"0", "30", "255"}, {});
  Choose(85);
  EXPECT_EQ(Composition().CompositionMode, -1);
  EXPECT_FALSE(Composition().KeepLeftPicture);
  EXPECT_EQ(M2().Parameter[1].CCx, cx);
}

TEST_F(TCompositionTest, NewCWithShortMovie2AndTheTransferQuestion) {
  StartSmall();
  TShellState& s = Shell();
  s.Movie2->Count = 2;
  s.Movie2->Parameter.resize(3);
  s.Movie2->Parameter[2].julia = 0;
  Choose(90);
  EXPECT_EQ(LastMessage(),
            "Movie 2 is too short. M1 is duplicated and overwrites M2. New: JuliaSet=1 for M2.");
  ASSERT_EQ(M2().Count, 4);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(M2().Parameter[n].julia, 1) << n;

  // J on a single picture asks whether Movie 1 is to be copied first.
  Choose(83);
  ASSERT_FALSE(Composition().KeepLeftPicture);
  M2().Parameter[1].bry = 7;
  gui_.AnswerQuestion(false);
  const int ox = s.RenderM1->PaintOffsetX, oy = s.RenderM1->PaintOffsetY;
  gui_.KeyDown('J', Area());
  gui_.MouseMove(Area(), ox + 20, oy + 20);
  gui_.KeyUp('J', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Dialogs().back().kind, TDialogRecord::Kind::Question);
  EXPECT_EQ(gui_.Dialogs().back().text.rfind("At the beginning should be Movie 1", 0), 0u);
  EXPECT_EQ(M2().Parameter[1].bry, 7);  // Cancel: Movie 2 kept
  EXPECT_EQ(M2().Parameter[1].CCx, M1().Parameter[1].pox);
  EXPECT_TRUE(Composition().KeepLeftPicture);
}

TEST_F(TCompositionTest, MissingMoviesAndDifferentKeys) {
  StartSmall("DE");
  TShellState& s = Shell();
  auto movie2 = std::move(s.Movie2);
  Choose(89);
  EXPECT_EQ(LastMessage(), "Bitte laden Sie eine Movie 2 - Datei.");
  EXPECT_TRUE(MenusUsable());
  s.Movie2 = std::move(movie2);
  auto movie1 = std::move(s.Movie1);
  s.CurrentKeyM1 = nullptr;
  Choose(89);
  EXPECT_EQ(LastMessage(), "Bitte laden Sie eine Movie 1 - Datei (Hauptbild).");
  s.Movie1 = std::move(movie1);

  // Movie 1 on key 3 of 4, Movie 2 on key 5: OK shows Movie 1's single
  // picture instead.
  Lengthen(M2(), 6);
  M1().Actual = 3;
  M2().Actual = 5;
  ShownKeys().LastKeyM1 = 3;
  gui_.AnswerQuestion(true);
  Choose(89);
  ASSERT_GE(gui_.Dialogs().size(), 2u);
  const TDialogRecord& q = gui_.Dialogs()[gui_.Dialogs().size() - 2];
  EXPECT_EQ(q.text, Latin1("Achtung ! Movie 1 und Movie 2 stehen auf verschiedenen aktuellen "
                           "KEY: 3 und 5. KEY5 von Movie 2 wird für beide gesetzt."));
  EXPECT_EQ(LastMessage(),
            Latin1("Movie 1 ist zu kurz, bitte KEYs in M1 einfügen durch Duplizieren."));
  EXPECT_EQ(Composition().CompositionMode, 1);
  EXPECT_EQ(Composition().ShownImage, 1);
  EXPECT_EQ(M1().Actual, 3);

  // OK with a key Movie 1 has: both on Movie 2's key.
  M2().Actual = 2;
  gui_.AnswerQuestion(true);
  Choose(89);
  EXPECT_EQ(M1().Actual, 2);
  EXPECT_EQ(ShownKeys().LastKeyM1, 2);
  EXPECT_EQ(Status(), "Movie 2 neben Movie 1 fuer [KEY 2]");

  // Cancel with Movie 2 shorter than Movie 1's key: Movie 2 is lengthened
  // by its last keyframe instead of reading past its end.
  s.Movie2->Count = 2;
  s.Movie2->Parameter.resize(3);
  s.CurrentKeyM2 = nullptr;
  M1().Actual = 4;
  gui_.AnswerQuestion(false);
  Choose(89);
  EXPECT_EQ(M2().Count, 4);
  EXPECT_EQ(M2().Actual, 4);
  EXPECT_EQ(ShownKeys().LastKeyM2, 4);
  EXPECT_EQ(Status(), "Movie 2 neben Movie 1 fuer [KEY 4]");
}

TEST_F(TCompositionTest, DifferentFormulasCancelledGiveTheSinglePicture) {
  StartSmall();
  M2().Parameter[1].GameNo = M1().Parameter[1].GameNo + 1;
  gui_.AnswerQuestion(false);
  Choose(89);
  EXPECT_EQ(gui_.Dialogs().back().text, "Attention ! Both movies have different program numbers!");
  EXPECT_EQ(Composition().CompositionMode, 1);
  EXPECT_EQ(Composition().ShownImage, 1);
  EXPECT_TRUE(MenusUsable());
}

TEST_F(TCompositionTest, FinishedPicturesShowTheirStatusLineNotTheProgress) {
  StartSmall();
  const std::string single = "1[KEY 1]  JuliaSet=0 Name M1: " + M1().FileName;
  for (int command : {88, 92}) {
    Choose(command);
    EXPECT_EQ(Status(), single) << command;
  }
  // The single picture instead of a double picture of different formulas.
  M2().Parameter[1].GameNo = M1().Parameter[1].GameNo + 1;
  gui_.AnswerQuestion(false);
  Choose(89);
  EXPECT_EQ(Status(), single);
  M2().Parameter[1].GameNo = M1().Parameter[1].GameNo;
  Choose(90);
  EXPECT_EQ(Status().rfind("1+2[KEY 1] li: No ", 0), 0u) << Status();
}

TEST_F(TCompositionTest, JuliaPreviewOfThePickedConstant) {
  StartSmall();
  TShellState& s = Shell();
  struct TCall {
    int kind, number, width, height;
    std::string title;
    double cx;
  };
  std::vector<TCall> calls;
  SetJuliaPreviewOpener([&](int kind, int number, int width, int height, TParameterAnim& movie,
                            const std::string& title) {
    calls.push_back({kind, number, width, height, title, movie.Parameter[movie.Actual].CCx});
  });
  Choose(89);
  // K on the double picture: back to the single picture, the constant
  // into Movie 2, the first Julia window.
  const int ox = s.RenderM1->PaintOffsetX, oy = s.RenderM1->PaintOffsetY;
  gui_.KeyDown('K', Area());
  gui_.MouseMove(Area(), ox + 50, oy + 20);
  gui_.KeyUp('K', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(LastMessage(), "Left image now as single");
  EXPECT_EQ(Composition().ShownImage, 1);
  EXPECT_EQ(Composition().CompositionMode, 3);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, 1);
  EXPECT_EQ(calls[0].number, 1);
  EXPECT_EQ(calls[0].width, 266);  // 80 / (60 / 200)
  EXPECT_EQ(calls[0].height, 200);
  EXPECT_EQ(calls[0].title, "1 M2 JuliaSet=1");
  EXPECT_EQ(calls[0].cx, M1().Parameter[1].CCx);
  EXPECT_EQ(M2().Parameter[1].julia, 1);

  // The windows go round 1..4; a missing Movie 2 becomes a copy of Movie 1.
  s.CurrentKeyM2 = nullptr;
  s.RenderM2.reset();
  s.Movie2.reset();
  for (int i = 0; i < 4; ++i) Choose(91);
  ASSERT_TRUE(s.Movie2);
  EXPECT_EQ(LastMessage(), "Movie 2 is too short. Overridden with movie 1");
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[3].title, "4 M2 JuliaSet=1");
  EXPECT_EQ(calls[4].number, 1);
  SetJuliaPreviewOpener({});
  Choose(91);
  EXPECT_EQ(s.JuliaNext, 2);
}

TEST_F(TCompositionTest, JuliaPreviewRepaintsThePictureAreaAfterItsComputation) {
  StartSmall();
  TShellState& s = Shell();
  // The Julia window computes like every picture: its cancel polls take
  // the pending events, the picture area's repaint request among them.
  SetJuliaPreviewOpener([this](int, int, int, int, TParameterAnim&, const std::string&) {
    while (gui_.PendingEvents() > 0) ShellHost().PollCancel();
  });
  Choose(89);
  const int ox = s.RenderM1->PaintOffsetX, oy = s.RenderM1->PaintOffsetY;
  gui_.KeyDown('K', Area());
  gui_.MouseMove(Area(), ox + 50, oy + 20);
  ASSERT_TRUE(RunPending());
  EXPECT_FALSE(gui_.Gadget(Area())->presentedOps.empty());
  gui_.KeyUp('K', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Composition().ShownImage, 1);
  // The single picture is shown again, without the tool's cross-hair.
  const TScriptedGadget* area = gui_.Gadget(Area());
  EXPECT_EQ(area->lastPixmapWidth, s.RenderM1->Width);
  for (const TDrawOp& op : area->presentedOps) EXPECT_NE(op.kind, TDrawOp::Kind::Line);
  SetJuliaPreviewOpener({});
}

}  // namespace
}  // namespace ork::test
