#include "shell/gui_host.h"

#include <gtest/gtest.h>

#include "gui/scripted.h"

namespace ork {
namespace {

TEST(GuiHost, PollCancelMapsEventsAndConsumesThem) {
  TScriptedGui gui;
  TGui* previous = SetGui(&gui);
  const THandle main = gui.CreateWindow("Main", 0, 0, 400, 400, kWinTitleBar | kWinStatusLine);
  const THandle other = gui.CreateWindow("Vorschau", 0, 0, 100, 100, kWinTitleBar);
  const THandle canvas = gui.CreateCanvas(main, 0, 0, 400, 400);
  TGuiHost host(main);

  EXPECT_EQ(host.PollCancel(), 0);  // nothing pending
  gui.KeyDown(kKeyEscape, canvas);
  gui.KeyDown(kKeyEnd, canvas, true);
  gui.KeyDown('Q', canvas);
  gui.KeyUp(kKeyEscape, canvas);
  gui.KeyDown('Z', canvas);
  gui.CloseBox(other);  // not the status window
  gui.CloseBox(main);
  gui.PostCommand(83, main);  // taken and lost, as every unknown event
  gui.MouseDown(canvas, 1, 1);
  EXPECT_EQ(host.PollCancel(), -1);
  EXPECT_EQ(host.PollCancel(), -1);
  EXPECT_EQ(host.PollCancel(), 1);
  EXPECT_EQ(host.PollCancel(), 0);
  EXPECT_EQ(host.PollCancel(), 0);
  EXPECT_EQ(host.PollCancel(), 0);
  EXPECT_EQ(host.PollCancel(), -1);
  EXPECT_EQ(host.PollCancel(), 0);
  EXPECT_EQ(host.PollCancel(), 0);
  EXPECT_EQ(gui.PendingEvents(), 0u);

  // A preview window computes with its own close box.
  host.SetWindow(other);
  gui.CloseBox(main);
  gui.CloseBox(other);
  EXPECT_EQ(host.PollCancel(), 0);
  EXPECT_EQ(host.PollCancel(), -1);
  SetGui(previous);
}

TEST(GuiHost, MessagesQuestionsCommandsAndStatusReachTheGui) {
  TScriptedGui gui;
  TGui* previous = SetGui(&gui);
  const THandle main = gui.CreateWindow("Main", 0, 0, 400, 400, kWinTitleBar | kWinStatusLine);
  TGuiHost host(main);
  THost& core = host;
  gui.AnswerQuestion(false);
  core.Information("Datei repariert");
  EXPECT_FALSE(core.Question("Speichern ?"));
  core.StatusText("Bitte warten, Zeile 3/576");
  core.PostCommand(7);
  EXPECT_EQ(gui.Messages(), std::vector<std::string>{"Datei repariert"});
  EXPECT_EQ(gui.Dialogs()[1].text, "Speichern ?");
  EXPECT_EQ(gui.Dialogs()[1].title, "Orkelund");
  EXPECT_EQ(gui.Gadget(main)->statusText, "Bitte warten, Zeile 3/576");
  const TEvent e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::MenuCommand);
  EXPECT_EQ(e.data, 7);
  EXPECT_EQ(e.source, main);

  // Without a window status texts go nowhere and nothing breaks.
  TGuiHost bare;
  bare.StatusText("x");
  EXPECT_EQ(bare.CancelCode(TEvent{}), 0);
  SetGui(previous);
}

}  // namespace
}  // namespace ork
