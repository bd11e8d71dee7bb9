// The keyframe data windows driven as a user would: open them through the
// menu, type into the fields, tick the mark boxes, step through the
// keyframes, duplicate and delete a keyframe.
#include "windows/data_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/ini_store.h"
#include "model/latin1.h"
#include "model/number_format.h"
#include "picture/grid_state.h"
#include "shell/main_window_test_util.h"
#include "windows/data_window_commands.h"

namespace ork::test {
namespace {

class DataWindowTest : public TShellTest {
 protected:
  void StartWith(const std::string& language = "EN") {
    UseSmallStartMovie(80, 60, language);
    Start();
    RegisterDataWindows();
    ASSERT_TRUE(RunPending());
  }
  TDataWindow* Open(int command, TSlot slot) {
    EXPECT_TRUE(gui_.ChooseMenu(Window(), command));
    EXPECT_TRUE(RunPending());
    return static_cast<TDataWindow*>(SlotWindow(slot));
  }
  std::string Text(THandle gadget) const { return gui_.GetText(gadget); }
  void Type(THandle field, const std::string& text) {
    ASSERT_TRUE(gui_.TypeText(field, text));
    ASSERT_TRUE(gui_.LeaveField(field));
    ASSERT_TRUE(RunPending());
  }
  void Click(THandle gadget) {
    ASSERT_TRUE(gui_.Click(gadget));
    ASSERT_TRUE(RunPending());
  }
};

TEST_F(DataWindowTest, ShowsAndStoresTheKeysOfMovie1) {
  StartWith();
  TDataWindow* w = Open(16, TSlot::DataM1);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(gui_.Gadget(w->Window)->text, "Data collection of Movie1 (Main)");
  EXPECT_EQ(gui_.Geometry(w->Window).width, 340);
  EXPECT_EQ(gui_.Geometry(w->Window).height, 817);
  EXPECT_EQ(Status().rfind("1[KEY 1]", 0), 0u) << Status();
  EXPECT_EQ(Text(w->LabGroup), "     [KEY1] / 4");
  EXPECT_EQ(Text(w->Lab[16]), "Max_(X+Y)");
  EXPECT_EQ(Text(w->Lab[17]), "Max_Iterat");
  EXPECT_EQ(Text(w->TextBox[5]), RealText17(Key1()->vsx));
  EXPECT_EQ(Text(w->TextBox[1]), std::to_string(Key1()->GameNo));
  EXPECT_EQ(gui_.Geometry(w->TextBox[1]).y, 66);
  EXPECT_EQ(gui_.Geometry(w->TextBox[3]).y, 66 + 3 * 19);  // after "Navigation:"
  EXPECT_EQ(gui_.Geometry(w->CK_InterpP[4]).y, 66 + 4 * 19 - 3);
  EXPECT_EQ(w->CK_InterpP[3], 0);   // "WidthX" carries no interpolation mark
  EXPECT_NE(w->CK_ParamText[3], 0);

  Type(w->TextBox[5], "0.25");
  EXPECT_EQ(Key1()->vsx, 0.25);
  EXPECT_EQ(Key1()->vsp, 0.25);
  Type(w->TextBox[6], "-1.5");
  EXPECT_EQ(Key1()->vst, -1.5);

  GridState().GridSizesFixed = true;
  Type(w->TextBox[4], "0.5");
  EXPECT_EQ(Key1()->bry, 0.5);
  EXPECT_EQ(Text(w->TextBox[3]), "0.66666666666666663");
  EXPECT_EQ(Key1()->brx, 0.5 * 80 / 60);
  EXPECT_FALSE(GridState().GridSizesFixed);
  Type(w->TextBox[3], "2");
  EXPECT_EQ(Key1()->bry, 1.5);
  EXPECT_EQ(Text(w->TextBox[4]), RealText17(1.5));

  Type(w->TextBox[8], "3");
  EXPECT_EQ(Key1()->julia, 1);
  Type(w->TextBox[18], "100");
  EXPECT_EQ(Key1()->zyctest, 64);
  Type(w->TextBox[17], "777x");
  EXPECT_EQ(Key1()->ianzmax, 777);
  Type(w->TextBox[2], "MyPicture");
  EXPECT_EQ(Key1()->FileNameKey, "MyPicture");

  // Emptying the overlay list empties the style fields on screen only.
  const std::string colours = Key1()->LinesColor;
  Type(w->TextBox[26], "$FF00FF00");
  Type(w->TextBox[25], "M");
  Type(w->TextBox[25], "");
  EXPECT_EQ(Text(w->TextBox[26]), "");
  EXPECT_EQ(Text(w->TextBox[27]), "");
  EXPECT_EQ(Key1()->LinesColor, "$FF00FF00");

  // The edits are in the keyframe, nothing else moved.
  EXPECT_EQ(Shell().Movie1->Actual, 1);
  EXPECT_EQ(Shell().Movie1->Parameter[2].vsx, Shell().Movie2->Parameter[2].vsx);

  Click(w->Cmd_Exit);
  EXPECT_EQ(SlotWindow(TSlot::DataM1), nullptr);
  EXPECT_EQ(gui_.FindWindow("Data collection of Movie1 (Main)"), 0);
}

TEST_F(DataWindowTest, VariantsDifferInTitleLayoutAndLimits) {
  StartWith("DE");
  TDataWindow* part2 = Open(1013, TSlot::DataM1Part2);
  ASSERT_NE(part2, nullptr);
  EXPECT_EQ(gui_.Gadget(part2->Window)->text,
            "Datensatz M1 (Hauptbild) Zusatzfenster kleine Bildschirme");
  EXPECT_EQ(gui_.Geometry(part2->Window).height, 523);
  EXPECT_EQ(gui_.Geometry(part2->TextBox[3]).y, 104);
  EXPECT_FALSE(gui_.Gadget(part2->TextBox[10])->visible);
  EXPECT_EQ(gui_.Geometry(part2->TextBox[19]).y, 161);
  EXPECT_NE(gui_.FindGadget(part2->Window, TGadgetKind::Button, Latin1("KEY Löschen")), 0);
  // Rows 3..18 are out of the user's reach here but filled and stored alike.
  EXPECT_FALSE(gui_.TypeText(part2->TextBox[8], "3"));
  gui_.SetText(part2->TextBox[8], "3");
  part2->TakeOne(8);
  EXPECT_EQ(Key1()->julia, 3);
  Type(part2->TextBox[29], "2.5");
  EXPECT_EQ(Key1()->FixedImageSeconds, 2.5);

  TDataWindow* m2 = Open(17, TSlot::DataM2);
  ASSERT_NE(m2, nullptr);
  EXPECT_EQ(gui_.Gadget(m2->Window)->text, "Datensatz Movie 2");
  EXPECT_NE(m2->Cmd_Tausch, 0);
  EXPECT_EQ(m2->Cmd_Insert, 0);
  EXPECT_EQ(m2->Cmd_UmZu1, 0);
  gui_.TypeText(m2->TextBox[18], "100");
  gui_.LeaveField(m2->TextBox[18]);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Movie2->GetActualParameter()->zyctest, 100);
  EXPECT_NE(Key1()->zyctest, 100);

  TDataWindow* m2part2 = Open(1017, TSlot::DataM2Part2);
  ASSERT_NE(m2part2, nullptr);
  // Its row 18 is hidden and shows the 100 stored above: storing it again
  // applies this variant's limit.
  EXPECT_EQ(Text(m2part2->TextBox[18]), "100");
  m2part2->TakeOne(18);
  EXPECT_EQ(Shell().Movie2->GetActualParameter()->zyctest, 64);

  // Reopening replaces the window of the slot.
  const THandle old = m2->Window;
  TDataWindow* again = Open(17, TSlot::DataM2);
  EXPECT_NE(again->Window, old);
  EXPECT_EQ(gui_.Gadget(old), nullptr);
}

TEST_F(DataWindowTest, MarkBoxesEditTheLists) {
  StartWith();
  TDataWindow* w = Open(16, TSlot::DataM1);
  ASSERT_NE(w, nullptr);
  Type(w->TextBox[34], "(Degree,*)");
  Type(w->TextBox[23], "");

  Click(w->CK_InterpP[4]);
  EXPECT_EQ(Text(w->TextBox[34]), "(HeightY,+):(Degree,*)");
  EXPECT_EQ(Key1()->InterpolationList, "(HeightY,+):(Degree,*)");
  Click(w->CK_InterpM[4]);
  EXPECT_EQ(Text(w->TextBox[34]), "(HeightY,*):(Degree,*)");
  EXPECT_EQ(gui_.GetState(w->CK_InterpP[4]), 0);
  Click(w->CK_InterpM[4]);
  EXPECT_EQ(Key1()->InterpolationList, "(Degree,*)");

  Click(w->CK_ParamText[5]);
  EXPECT_EQ(Key1()->TextOutputList, "(0,0,MidPointX=,MidPointX)");
  EXPECT_EQ(Text(w->TextBox[23]), Key1()->TextOutputList);

  // Row 16 shows "Max_(X+Y)": its mark comes back there after a refill.
  Click(w->CK_InterpP[16]);
  Click(w->Cmd_Vor);
  Click(w->Cmd_Zurueck);
  EXPECT_EQ(gui_.GetState(w->CK_InterpP[16]), 1);
  EXPECT_EQ(gui_.GetState(w->CK_InterpP[17]), 0);
  EXPECT_EQ(gui_.GetState(w->CK_InterpM[7]), 1);  // (Degree,*)
  EXPECT_EQ(gui_.GetState(w->CK_ParamText[5]), 1);
  Click(w->CK_ParamText[5]);
  EXPECT_EQ(Key1()->TextOutputList, "");
}

TEST_F(DataWindowTest, NavigatesBetweenKeyframes) {
  StartWith();
  TDataWindow* w = Open(16, TSlot::DataM1);
  ASSERT_NE(w, nullptr);
  TParameterAnim& movie = *Shell().Movie1;
  Click(w->Cmd_Zurueck);
  EXPECT_EQ(movie.Actual, 1);
  Click(w->Cmd_Vor);
  EXPECT_EQ(movie.Actual, 2);
  EXPECT_EQ(Text(w->LabGroup), "     [KEY2] / 4");
  EXPECT_EQ(Text(w->TextBox[5]), RealText17(movie.Parameter[2].vsx));
  Click(w->Cmd_Ende);
  EXPECT_EQ(movie.Actual, 4);
  Click(w->Cmd_Vor);
  EXPECT_EQ(movie.Actual, 4);
  Type(w->TextBox[7], "45");
  EXPECT_EQ(movie.Parameter[4].Degree, 45);
  Click(w->Cmd_Anfang);
  EXPECT_EQ(movie.Actual, 1);
  EXPECT_NE(movie.Parameter[1].Degree, 45);

  // "Aktualisieren" for a key whose picture is not shown offers to compute.
  Click(w->Cmd_Vor);
  gui_.AnswerQuestion(false);
  Click(w->Cmd_Aktualisieren);
  ASSERT_FALSE(gui_.Dialogs().empty());
  EXPECT_EQ(gui_.Dialogs().back().text,
            "The calculated image has not the actual KEY. Re-calculate please.");
  EXPECT_EQ(ShownKeys().LastKeyM1, 1);
  // Back on the computed key, "2" shows the double picture composition.
  Click(w->Cmd_Anfang);
  Click(w->Cmd_UmZu2);
  EXPECT_EQ(Composition().CompositionMode, 2);
}

TEST_F(DataWindowTest, AnEditStaysWithTheKeyframeShownAcrossTheShownKeyQuestion) {
  StartWith();
  TDataWindow* w = Open(16, TSlot::DataM1);
  ASSERT_NE(w, nullptr);
  TParameterAnim& movie = *Shell().Movie1;
  const double cx1 = movie.Parameter[1].CCx;
  const THandle field = w->TextBox[DataRowOf("CxPoint")];
  Click(w->Cmd_Vor);  // the window shows KEY2, the picture is KEY1's
  // Typing and Tab in the window are text, not a question.
  const size_t dialogs = gui_.Dialogs().size();
  ASSERT_TRUE(gui_.TypeText(field, "7"));
  gui_.KeyPress(kKeyTab, field);
  ASSERT_TRUE(gui_.LeaveField(field));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Dialogs().size(), dialogs);
  EXPECT_EQ(movie.Parameter[2].CCx, 7);
  EXPECT_EQ(movie.Parameter[1].CCx, cx1);

  // A key on the picture resets to KEY1 while an edit is still in its
  // field: the edit goes to KEY2, the window then shows KEY1.
  ASSERT_TRUE(gui_.TypeText(field, "8"));
  gui_.AnswerQuestion(true);
  gui_.KeyPress('X', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Dialogs().back().text, "[KEY2] is reset to [KEY1]");
  EXPECT_EQ(movie.Actual, 1);
  EXPECT_EQ(movie.Parameter[2].CCx, 8);
  EXPECT_EQ(Text(w->LabGroup), "     [KEY1] / 4");
  EXPECT_EQ(Text(field), RealText17(cx1));
  ASSERT_TRUE(gui_.LeaveField(field));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(movie.Parameter[1].CCx, cx1);
}

TEST_F(DataWindowTest, DuplicatesAndDeletesTheCurrentKeyframe) {
  StartWith();
  TDataWindow* w = Open(16, TSlot::DataM1);
  ASSERT_NE(w, nullptr);
  Type(w->TextBox[7], "12.5");
  Click(w->Cmd_Insert);
  ASSERT_TRUE(RunPending());
  TParameterAnim& movie = *Shell().Movie1;
  ASSERT_EQ(movie.Count, 5);
  EXPECT_EQ(movie.Actual, 2);
  EXPECT_EQ(movie.Parameter[1].Degree, 12.5);
  EXPECT_EQ(movie.Parameter[2].Degree, 12.5);
  w = static_cast<TDataWindow*>(SlotWindow(TSlot::DataM1));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Text(w->LabGroup), "     [KEY2] / 5");

  gui_.AnswerQuestion(true);
  Click(w->Cmd_DeleteK);
  ASSERT_TRUE(RunPending());
  TParameterAnim& after = *Shell().Movie1;
  EXPECT_EQ(after.Count, 4);
  w = static_cast<TDataWindow*>(SlotWindow(TSlot::DataM1));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Text(w->LabGroup), "     [KEY" + std::to_string(after.Actual) + "] / 4");
}

TEST_F(DataWindowTest, EmptyAndRepairedMovies) {
  StartWith();
  TDataWindow* w = Open(16, TSlot::DataM1);
  ASSERT_NE(w, nullptr);
  const std::string shown = Text(w->TextBox[5]);
  TParameterAnim& movie = *Shell().Movie1;
  const int count = movie.Count;
  movie.Count = 0;
  movie.Actual = 0;
  w->Fill(movie);
  EXPECT_EQ(Text(w->LabGroup), "Empty");
  EXPECT_EQ(Text(w->TextBox[5]), shown);
  Type(w->TextBox[5], "9");  // no keyframe to store into
  Click(w->CK_InterpP[5]);
  movie.Count = count;
  movie.Actual = 1;
  EXPECT_NE(movie.Parameter[1].vsx, 9);

  movie.Run = "repaired";
  w->Fill(movie);
  EXPECT_EQ(Text(w->TextBox[2]), "Stop! Sie haben noch nicht gespeichert.");
  Type(w->TextBox[2], "Other");
  EXPECT_EQ(Key1()->FileNameKey, "Stop! Sie haben noch nicht gespeichert.");
  EXPECT_EQ(Text(w->TextBox[2]), "Stop! Sie haben noch nicht gespeichert.");

  // A window whose movie was replaced edits the movie in its place, never
  // the released one.
  Shell().Movie1 = Shell().Movie2->Copy();
  Type(w->TextBox[5], "7");
  EXPECT_EQ(Key1()->vsx, 7);
  EXPECT_NE(Shell().Movie2->GetActualParameter()->vsx, 7);
}

TEST_F(DataWindowTest, Movie2WindowNeedsBothMovies) {
  StartWith();
  Shell().Movie2.reset();
  EXPECT_TRUE(gui_.ChooseMenu(Window(), 17));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(SlotWindow(TSlot::DataM2), nullptr);
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages().back(), "Movie 1 and Movie 2 must be loaded.");
}

TEST(DataWindowRows, RowsFollowTheParameterNumbersWithMaxKeysExchanged) {
  for (int row = 1; row <= kDataRows; ++row) {
    const int number = TINIGroup::ParameterSortNo(DataRow(row).key);
    EXPECT_EQ(number, row == 16 ? 17 : row == 17 ? 16 : row) << DataRow(row).key;
    EXPECT_EQ(DataRowOf(DataRow(row).key), row);
  }
  EXPECT_EQ(DataRowOf("Param3"), 0);

  TParameter p;
  p.OutputWidth = 640;
  p.OutputHeight = 480;
  StoreDataRow(p, "ColTabNo", "3:5", {});
  EXPECT_EQ(p.farbtabL, "3:5");
  EXPECT_EQ(p.farbtab, 3);
  EXPECT_EQ(p.Cfarbtab[1], 5);
  EXPECT_EQ(DataRowValue(p, 20), "3:5");
  const TStoreEffect width = StoreDataRow(p, "WidthX", "4", {});
  EXPECT_TRUE(width.showHeight);
  EXPECT_EQ(p.bry, 3.0);
  // A movie without size leaves the other side alone instead of dividing by 0.
  p.OutputWidth = 0;
  StoreDataRow(p, "WidthX", "8", {});
  EXPECT_EQ(p.bry, 3.0);
  EXPECT_EQ(StoreDataRow(p, "Unknown", "1", {}).showWidth, false);
  StoreDataRow(p, "Max_(X+Y)", "1e6", {});
  EXPECT_EQ(p.maxabs, 1e6);
  EXPECT_EQ(DataRowValue(p, 16), "1000000.0000000000");
}

// Max_Iterat 2 000 000 000 typed into the data window and "Calculate"
// pressed: nothing is sized by it any more, the picture (all pixels far
// outside the set) is computed and kept in the history, and no orbit
// arrays are held.
TEST_F(DataWindowTest, HugeMaxIteratComputes) {
  StartWith();
  TDataWindow* w = Open(16, TSlot::DataM1);
  ASSERT_NE(w, nullptr);
  Type(w->TextBox[17], "2000000000");
  Type(w->TextBox[5], "100");
  ASSERT_EQ(Key1()->ianzmax, 2000000000);
  const int history = Shell().TempCounter;
  const size_t messages = gui_.Messages().size();
  Click(w->Cmd_Berechnen);
  EXPECT_EQ(gui_.Messages().size(), messages);
  EXPECT_EQ(Shell().TempCounter, history + 1);
  const TRender& r = *Shell().RenderM1;
  // Every pixel escaped after a few iterations.
  EXPECT_LT(*std::max_element(r.ibild.begin(), r.ibild.end()), 10000);
  EXPECT_TRUE(r.DynX.empty());
}

}  // namespace
}  // namespace ork::test
