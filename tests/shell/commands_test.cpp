#include <gtest/gtest.h>

#include <filesystem>

#include "model/latin1.h"
#include "picture/picture_files.h"
#include "shell/menu_texts.h"
#include "main_window_test_util.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

TEST_F(TShellTest, CommandsEscapeCancelsTheComputation) {
  UseSmallStartMovie(80, 60);
  Start();
  // The first command is queued; Escape pressed right after it is taken by
  // the first row poll and stops the computation.
  gui_.KeyDown(kKeyEscape, Area());
  ASSERT_TRUE(RunPending());
  // The command still finishes: status, shown key and history.
  EXPECT_EQ(Status(), "1[KEY 1]  JuliaSet=0 Name M1: Orkelund-Start");
  EXPECT_EQ(ShownKeys().LastKeyM1, 1);
  EXPECT_TRUE(fs::exists(dir_ / "TEMP" / "temp1.ini"));
  // Rows not reached stay at zero iterations.
  const TRender& r = *Shell().RenderM1;
  EXPECT_EQ(r.ibild[static_cast<size_t>(59) * 80 + 40], 0);
  for (THandle m : gui_.TopMenus(Window())) EXPECT_TRUE(gui_.MenuEnabled(m));
}

TEST_F(TShellTest, CommandsSaveThePictureIntoThreeFormats) {
  UseSmallStartMovie(80, 60);
  Start();
  ASSERT_TRUE(RunPending());
  // An answer without extension writes every [SaveImage] format.
  const fs::path base = dir_ / "Output" / "shot";
  gui_.AnswerFile(base.string());
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 120));
  ASSERT_TRUE(RunPending());
  for (const char* ext : {".jpg", ".png", ".bmp"}) {
    const fs::path file = base.string() + ext;
    ASSERT_TRUE(fs::exists(file)) << file;
    TPixmapPtr back = LoadPicture(file.string());
    ASSERT_TRUE(back) << file;
    EXPECT_EQ(back->Width(), 80);
    EXPECT_EQ(back->Height(), 60);
  }
  // The dialog proposed the keyframe's picture name.
  const TDialogRecord& d = gui_.Dialogs().back();
  EXPECT_EQ(d.kind, TDialogRecord::Kind::File);
  EXPECT_TRUE(d.save);
  EXPECT_NE(d.path.find("Orkelund"), std::string::npos);
  // The PNG holds exactly the shown picture.
  TPixmapPtr png = LoadPng(base.string() + ".png");
  ASSERT_TRUE(png);
  EXPECT_EQ(png->Get(10, 10) | 0xFF000000u, Shell().RenderM1->Image->Get(10, 10) | 0xFF000000u);
  // Toolbar button 2 with a ".png" answer writes only that file.
  gui_.AnswerFile((dir_ / "Output" / "one.png").string());
  ASSERT_TRUE(gui_.PressToolbar(MainWindow().Toolbar, 2));
  ASSERT_TRUE(RunPending());
  EXPECT_TRUE(fs::exists(dir_ / "Output" / "one.png"));
  EXPECT_FALSE(fs::exists(dir_ / "Output" / "one.jpg"));
  // Cancelling the dialog writes nothing.
  gui_.AnswerFile("");
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 120));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.UnusedAnswers(), 0u);
}

TEST_F(TShellTest, CommandsExitQuestionRefusedThenAccepted) {
  UseSmallStartMovie(80, 60);
  Start();
  ASSERT_TRUE(RunPending());
  gui_.AnswerQuestion(false);
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 11));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Dialogs().back().text, "Close really ?");
  EXPECT_NE(gui_.Gadget(Window()), nullptr);
  // The close box asks the same.
  gui_.AnswerQuestion(false);
  gui_.CloseBox(Window());
  ASSERT_TRUE(RunPending());
  EXPECT_NE(gui_.Gadget(Window()), nullptr);
  gui_.AnswerQuestion(true);
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 11));
  EXPECT_FALSE(RunPending());
  EXPECT_EQ(gui_.Gadget(Window()), nullptr);
  EXPECT_TRUE(gui_.Windows().empty());
}

TEST_F(TShellTest, CommandsShownKeyCheckFilmQuestionAndRedisplay) {
  UseSmallStartMovie(80, 60);
  Start();
  // Before any picture 122 asks to compute one first; OK posts 83.
  gui_.AnswerQuestion(false);
  ExecuteCommand(122);
  EXPECT_EQ(gui_.Dialogs().back().text, Tr(menu_texts::kComputeFirst));
  ASSERT_TRUE(RunPending());
  ASSERT_EQ(Composition().CompositionMode, 1);

  // The data window moved Movie 1 to key 2: a key press asks; OK resets.
  Shell().Movie1->Actual = 2;
  gui_.AnswerQuestion(true);
  gui_.KeyPress('X', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Dialogs().back().text, "[KEY2] is reset to [KEY1]");
  EXPECT_EQ(Shell().Movie1->Actual, 1);
  // Cancel keeps key 2 and computes it.
  Shell().Movie1->Actual = 2;
  gui_.AnswerQuestion(false);
  gui_.KeyPress('X', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(ShownKeys().LastKeyM1, 2);
  EXPECT_EQ(Status(), "1[KEY 2]  JuliaSet=0 Name M1: Orkelund-Start");

  // 29 and 30: double and fourfold pictures of Movie 1, each a history file.
  const int temp = Shell().TempCounter;
  ExecuteCommand(29);
  EXPECT_EQ(Composition().ShownImage, 2);
  EXPECT_EQ(Composition().CompositionMode, 2);
  ExecuteCommand(30);
  EXPECT_EQ(Composition().ShownImage, 4);
  EXPECT_EQ(Shell().TempCounter, temp + 2);
  EXPECT_TRUE(fs::exists(dir_ / "TEMP" / ("temp" + std::to_string(temp + 2) + ".ini")));
  // 1 redisplays the fourfold picture.
  ExecuteCommand(1);
  EXPECT_EQ(Composition().CompositionMode, 4);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Gadget(Area())->lastPixmapWidth, 160);

  // 121 runs the registered film production with the menus disabled and
  // every tool window closed.
  bool ran = false;
  SetFilmRunner([&] {
    ran = true;
    EXPECT_FALSE(gui_.MenuEnabled(gui_.TopMenus(Window())[0]));
  });
  ExecuteCommand(122);
  ASSERT_TRUE(RunPending());
  EXPECT_TRUE(ran);
  EXPECT_TRUE(gui_.MenuEnabled(gui_.TopMenus(Window())[0]));
}

// A tool window in a slot sees every event and is closed by its close box.
class TProbeWindow : public TToolWindow {
 public:
  TProbeWindow(THandle handle, int& events, bool& closed)
      : handle_(handle), events_(events), closed_(closed) {}
  THandle Handle() const override { return handle_; }
  void OnEvent(const TEvent&) override { ++events_; }
  void Close() override {
    closed_ = true;
    Gui().Destroy(handle_);
  }

 private:
  THandle handle_;
  int& events_;
  bool& closed_;
};

TEST_F(TShellTest, CommandsToolWindowSlotsAndRegisteredCommands) {
  UseSmallStartMovie(80, 60);
  Start();
  ASSERT_TRUE(RunPending());
  int events = 0;
  bool closed = false;
  const THandle w = gui_.CreateWindow("probe", 10, 10, 100, 100, kWinTitleBar, Window());
  FillSlot(TSlot::ColourTables, std::make_unique<TProbeWindow>(w, events, closed));
  Shell().Movie1->FensterCol = 3;
  int seen = 0;
  SetCommandHandler(16, [&](int n) { seen = n; });
  ASSERT_TRUE(gui_.ChooseMenu(Window(), 16));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(seen, 16);
  EXPECT_EQ(events, 1);
  gui_.CloseBox(w);
  ASSERT_TRUE(RunPending());
  EXPECT_TRUE(closed);
  EXPECT_EQ(SlotWindow(TSlot::ColourTables), nullptr);
  EXPECT_EQ(Shell().Movie1->FensterCol, 0);
  // Unknown numbers do nothing.
  ExecuteCommand(999);
  ExecuteCommand(38);
}

TEST_F(TShellTest, CommandsNewStartFileThroughTheChooser) {
  UseSmallStartMovie(80, 60);
  Start();
  ASSERT_TRUE(RunPending());
  gui_.SetIdleHook([](TScriptedGui& g) {
    const THandle chooser = g.FindWindow(Latin1("Select new start file"));
    if (!chooser) return;
    const THandle list = g.FindGadgets(chooser, TGadgetKind::ListBox).front();
    for (int i = 0; i < g.ItemCount(list); ++i)
      if (g.ItemText(list, i) == "Default") g.SelectItem(list, i);
    g.Click(g.FindGadget(chooser, TGadgetKind::Button, "OK"));
  });
  ExecuteCommand(6);
  gui_.SetIdleHook({});
  EXPECT_EQ(*SettingsValue("Load", "Start-ini"), "Default.ini");
  EXPECT_NE(ReadAll(dir_ / "INI" / "Settings.ini").find("Start-ini=Default.ini"),
            std::string::npos);
  EXPECT_TRUE(gui_.GadgetEnabled(Window()));
}

}  // namespace
}  // namespace ork::test
