#include <gtest/gtest.h>

#include <filesystem>

#include "model/language.h"
#include "model/latin1.h"
#include "shell/menu_texts.h"
#include "shell/texts.h"
#include "main_window_test_util.h"

namespace ork::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> MenuTexts(const TScriptedGui& gui, THandle window) {
  std::vector<std::string> texts;
  for (THandle m : gui.TopMenus(window)) texts.push_back(gui.Menu(m)->text);
  return texts;
}

TEST_F(TShellTest, MainWindowStartsWithMissingSettingsAndComputesTheStartMovie) {
  // A working folder that lost its Settings.ini (a new one gets it seeded).
  ASSERT_TRUE(fs::remove(dir_ / "INI" / "Settings.ini"));
  Start();
  // The settings were rewritten and the user told so, in English.
  EXPECT_TRUE(fs::exists(dir_ / "INI" / "Settings.ini"));
  ASSERT_FALSE(gui_.Messages().empty());
  EXPECT_EQ(gui_.Messages()[0], shell_texts::kSettingsMissing);

  const TScriptedGadget* w = gui_.Gadget(Window());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->text, shell_texts::kAppTitle);
  EXPECT_EQ(w->minimumSize.width, 320);
  EXPECT_EQ(w->minimumSize.height, 240);
  EXPECT_TRUE(w->maximized);
  EXPECT_TRUE(w->flags & kWinAcceptDrop);
  EXPECT_TRUE(w->flags & kWinStatusLine);

  // Toolbar: 25 icons with their tooltips and commands.
  const THandle toolbar = MainWindow().Toolbar;
  ASSERT_EQ(gui_.ToolbarButtonCount(toolbar), 25);
  EXPECT_EQ(gui_.ToolbarCommand(toolbar, 10), 83);
  EXPECT_EQ(gui_.ToolbarCommand(toolbar, 24), 4);
  EXPECT_EQ(gui_.Gadget(toolbar)->buttons[2].first, "Save picture as Image");

  EXPECT_EQ(MenuTexts(gui_, Window()),
            (std::vector<std::string>{"      File ", "       Back", "   Data Windows",
                                      "        Preview ", "Calculate", "    M1: Cod+Color",
                                      "M2: Cod+Color", "Insert", "JuliaSet", "Window", "Help"}));
  EXPECT_EQ(gui_.MenuText(gui_.FindMenuItem(Window(), 28)), "M1Select Coding");
  EXPECT_EQ(gui_.MenuText(gui_.FindMenuItem(Window(), 37)), "M2Color Fact F4 individually");
  EXPECT_EQ(gui_.MenuText(gui_.FindMenuItem(Window(), 7)), "Save as ... Movie 1 (MainScreen) ");
  EXPECT_EQ(gui_.MenuText(gui_.FindMenuItem(Window(), 113)), "step3");
  EXPECT_EQ(gui_.Focus(), Area());

  // The start preview is the main picture until the preview windows exist.
  ASSERT_TRUE(RunPending());
  ASSERT_TRUE(Shell().RenderM1 && Shell().RenderM1->Image);
  EXPECT_EQ(Shell().RenderM1->Width, 640);
  EXPECT_EQ(Composition().CompositionMode, 1);
  EXPECT_EQ(Status(), "1[KEY 1]  JuliaSet=0 Name M1: Orkelund-Start");
  EXPECT_TRUE(fs::exists(dir_ / "TEMP" / "temp1.ini"));
  // The picture is centred in the picture area and was presented.
  const TScriptedGadget* area = gui_.Gadget(Area());
  EXPECT_GT(area->presents, 0);
  EXPECT_EQ(area->lastPixmapWidth, 640);
  EXPECT_EQ(area->lastPixmapX, area->rect.width / 2 - 320);
  EXPECT_EQ(area->lastPixmapY, area->rect.height / 2 - 240);
  // The history file keeps the movie's own name.
  EXPECT_EQ(Shell().Movie1->File, "Default.ini");
}

TEST_F(TShellTest, MainWindowMenusInGermanAndTheMenuGroups) {
  UseSmallStartMovie(80, 60, "DE");
  Start();
  EXPECT_TRUE(gui_.Messages().empty());
  EXPECT_FALSE(gui_.Gadget(Window())->maximized);
  const std::vector<std::string> tops = MenuTexts(gui_, Window());
  ASSERT_EQ(tops.size(), 11u);
  EXPECT_EQ(tops[0], "     Datei ");
  EXPECT_EQ(tops[1], Latin1("     Zurück"));
  EXPECT_EQ(tops[3], "        Vorschau ");
  EXPECT_EQ(gui_.MenuText(gui_.FindMenuItem(Window(), 28)), "M1 Codierungs Auswahl");
  EXPECT_EQ(gui_.MenuText(gui_.FindMenuItem(Window(), 6)), Latin1("Neue Startdatei auswählen"));
  EXPECT_EQ(gui_.MenuText(gui_.FindMenuItem(Window(), 111)), "Stufe 1");
  EXPECT_EQ(gui_.CancelText(), "Abbruch");  // the questions' Cancel button
  EXPECT_EQ(gui_.Gadget(MainWindow().Toolbar)->buttons[24].first,
            Latin1("Hilfe für Anfänger"));
  // Every menu separator is an empty item.
  int separators = 0;
  for (THandle m : gui_.TopMenus(Window()))
    for (THandle c : gui_.Menu(m)->children) separators += gui_.Menu(c)->separator;
  EXPECT_EQ(separators, 4 + 0 + 2 + 0 + 3 + 1 + 1 + 5 + 2 + 0 + 0);

  // Before any picture: "Kein Image" and the picture group disabled.
  ASSERT_TRUE(HandleEvent([&] {
    TEvent e;
    e.kind = TEventKind::Paint;
    e.source = Area();
    return e;
  }()));
  const TScriptedGadget* area = gui_.Gadget(Area());
  ASSERT_FALSE(area->presentedOps.empty());
  bool noImage = false;
  for (const TDrawOp& op : area->presentedOps) noImage |= op.text == "Kein Image";
  EXPECT_TRUE(noImage);
  const std::vector<THandle> m = gui_.TopMenus(Window());
  EXPECT_FALSE(gui_.MenuEnabled(m[1]));
  EXPECT_TRUE(gui_.MenuEnabled(m[0]));

  ASSERT_TRUE(RunPending());
  EXPECT_TRUE(gui_.MenuEnabled(m[1]));
  // Composition 21: colour menus off, Back, Insert, JuliaSet on.
  Composition().CompositionMode = 21;
  PaintPictureArea();
  EXPECT_FALSE(gui_.MenuEnabled(m[5]));
  EXPECT_FALSE(gui_.MenuEnabled(m[6]));
  EXPECT_TRUE(gui_.MenuEnabled(m[1]) && gui_.MenuEnabled(m[7]) && gui_.MenuEnabled(m[8]));
  // Composition 4: Back, Insert, JuliaSet off.
  Composition().CompositionMode = 4;
  PaintPictureArea();
  EXPECT_FALSE(gui_.MenuEnabled(m[1]) || gui_.MenuEnabled(m[7]) || gui_.MenuEnabled(m[8]));
  Composition().CompositionMode = 1;
  PaintPictureArea();
  for (THandle menu : m) EXPECT_TRUE(gui_.MenuEnabled(menu));

  // The Preview menu title posts 38, which does nothing.
  const int temp = Shell().TempCounter;
  EXPECT_TRUE(gui_.OpenMenu(m[3]));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().TempCounter, temp);
}

TEST_F(TShellTest, MainWindowResizePointerDropAndHelp) {
  UseSmallStartMovie();
  Start();
  ASSERT_TRUE(RunPending());
  const THandle before = Area();
  gui_.ResizeWindow(Window(), 500, 300);
  ASSERT_TRUE(RunPending());
  EXPECT_NE(Area(), before);
  EXPECT_EQ(gui_.Gadget(before), nullptr);
  const TRect r = gui_.Geometry(Area());
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, 0);
  EXPECT_EQ(r.width, gui_.ClientSize(Window()).width);
  EXPECT_EQ(r.height, gui_.ClientSize(Window()).height);

  gui_.MouseEnter(Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Gadget(Area())->pointer, TPointer::Cross);
  gui_.MouseLeave(Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Gadget(Area())->pointer, TPointer::Arrow);

  gui_.DropFile(Window(), "/some/where/x.ini");
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(gui_.Messages().back(), "/some/where/x.ini");

  ASSERT_TRUE(gui_.ChooseMenu(Window(), 125));
  ASSERT_TRUE(RunPending());
  ASSERT_FALSE(gui_.Dialogs().empty());
  EXPECT_EQ(gui_.Dialogs().back().kind, TDialogRecord::Kind::Url);
  EXPECT_EQ(gui_.Dialogs().back().text, "http://orkelund.example.org/manual.html");
}

TEST_F(TShellTest, MainWindowToolbarPostsItsCommands) {
  UseSmallStartMovie();
  Start();
  ASSERT_TRUE(RunPending());
  // Button 10 computes Movie 1 again: one more history file.
  EXPECT_EQ(Shell().TempCounter, 1);
  Shell().BackRepeat = 2;
  ASSERT_TRUE(gui_.PressToolbar(MainWindow().Toolbar, 10));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().TempCounter, 2);
  EXPECT_EQ(Shell().BackRepeat, 0);
  // Button 24 asks for the beginner picture "onlyForBeginners", which the
  // working directory lacks: the message names what is missing.
  ASSERT_TRUE(gui_.PressToolbar(MainWindow().Toolbar, 24));
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().BeginnerName, "onlyForBeginners");
  EXPECT_EQ(gui_.Messages().back(), Tr(menu_texts::kBeginnerMissing));
}

}  // namespace
}  // namespace ork::test
