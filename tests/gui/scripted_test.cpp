#include "gui/scripted.h"

#include <gtest/gtest.h>

#include "model/latin1.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace ork {
namespace {

// Each test installs its own scripted back end as the current one.
class ScriptedGui : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetGui(&gui); }
  void TearDown() override { SetGui(previous_); }
  TScriptedGui gui;

 private:
  TGui* previous_ = nullptr;
};

TEST_F(ScriptedGui, WindowsAndGadgetsAreRecordedWithGeometryTextAndState) {
  const THandle w = gui.CreateWindow("Laden", 32, 32, 320, 280, kWinTitleBar | kWinClientSize);
  const THandle field = gui.CreateTextField(w, 10, 10, 300, 20, "start");
  const THandle list = gui.CreateListBox(w, 10, 40, 300, 200);
  const THandle ok = gui.CreateButton(w, 10, 250, 100, 20, "OK", TButtonKind::DefaultOk);
  const THandle panel = gui.CreatePanel(w, 5, 5, 200, 48, "Sprache");
  const THandle check = gui.CreateCheckBox(panel, 10, 5, 100, 19, "mit Vorschaubild", true);
  gui.SetTextColor(ok, 0xFF00FF00u);

  EXPECT_EQ(gui.FindWindow("Laden"), w);
  EXPECT_EQ(gui.KindOf(field), TGadgetKind::TextField);
  EXPECT_EQ(gui.WindowOf(check), w);
  const TRect r = gui.Geometry(list);
  EXPECT_EQ(r.x, 10);
  EXPECT_EQ(r.y, 40);
  EXPECT_EQ(r.width, 300);
  EXPECT_EQ(r.height, 200);
  EXPECT_EQ(gui.GetText(field), "start");
  EXPECT_EQ(gui.GetState(check), 1);
  EXPECT_EQ(gui.GetState(list), -1);
  EXPECT_EQ(gui.Gadget(ok)->buttonKind, TButtonKind::DefaultOk);
  EXPECT_EQ(gui.Gadget(ok)->textColor, 0xFF00FF00u);
  EXPECT_EQ(gui.FindGadget(w, TGadgetKind::CheckBox, "mit Vorschaubild"), check);
  EXPECT_EQ(gui.FindGadget(panel, TGadgetKind::Button, "OK"), 0);
  EXPECT_EQ(gui.ClientSize(w).width, 320);

  // Gadgets cannot hang below labels or buttons.
  EXPECT_EQ(gui.CreateLabel(ok, 0, 0, 10, 10, "x"), 0);

  // Lists keep text and attached text; selection by the user reports the
  // attached text.
  gui.AddItem(list, "Alpha", "alpha");
  gui.AddItem(list, "Beta");
  EXPECT_EQ(gui.ItemCount(list), 2);
  EXPECT_EQ(gui.ItemAttached(list, 0), "alpha");
  EXPECT_EQ(gui.ItemAttached(list, 1), "");
  ASSERT_TRUE(gui.SelectItem(list, 0));
  TEvent e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::Gadget);
  EXPECT_EQ(e.source, list);
  EXPECT_EQ(e.window, w);
  EXPECT_EQ(e.data, 0);
  EXPECT_EQ(e.text, "alpha");
  EXPECT_EQ(gui.GetText(list), "Alpha");
  EXPECT_FALSE(gui.SelectItem(list, 2));
  gui.ClearItems(list);
  EXPECT_EQ(gui.GetState(list), -1);

  // Destroying a window takes its gadgets with it; stale handles are inert.
  gui.Destroy(w);
  EXPECT_EQ(gui.Gadget(check), nullptr);
  EXPECT_EQ(gui.FindWindow("Laden"), 0);
  gui.SetText(field, "ignored");
  EXPECT_EQ(gui.GetText(field), "");
  EXPECT_TRUE(gui.Windows().empty());
}

TEST_F(ScriptedGui, EventsArriveInOrderAndPostedCommandsCarryTheirNumber) {
  const THandle w = gui.CreateWindow("Main", 0, 0, 400, 400, kWinTitleBar | kWinMenuBar);
  const THandle canvas = gui.CreateCanvas(w, 0, 0, 400, 400);
  gui.SetFocus(canvas);
  gui.PostCommand(83, w);
  gui.KeyDown('Z');
  gui.MouseMove(canvas, 10, 20);
  gui.PostCommand(1);
  gui.KeyUp('Z');

  TEvent e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::MenuCommand);
  EXPECT_EQ(e.data, 83);
  EXPECT_EQ(e.source, w);
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::KeyDown);
  EXPECT_EQ(e.key, 'Z');
  EXPECT_EQ(e.source, canvas);  // keys go to the focused gadget
  EXPECT_EQ(e.data, 0);
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::MouseMove);
  EXPECT_EQ(e.x, 10);
  EXPECT_EQ(e.y, 20);
  EXPECT_EQ(gui.CurrentEvent().kind, TEventKind::MouseMove);
  TEvent polled;
  ASSERT_TRUE(gui.PollEvent(polled));
  EXPECT_EQ(polled.kind, TEventKind::MenuCommand);
  EXPECT_EQ(polled.data, 1);
  EXPECT_EQ(polled.source, 0);  // posted without source window
  ASSERT_TRUE(gui.PollEvent(polled));
  EXPECT_EQ(polled.kind, TEventKind::KeyUp);
  EXPECT_FALSE(gui.PollEvent(polled));

  // Paint requests for one canvas do not pile up.
  gui.RequestPaint(canvas);
  gui.RequestPaint(canvas);
  EXPECT_EQ(gui.PendingEvents(), 1u);
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::Paint);
  EXPECT_EQ(e.window, w);
  gui.RequestPaint(w);  // not a canvas
  EXPECT_EQ(gui.PendingEvents(), 0u);

  // Waiting with nothing scripted ends the test instead of hanging; the
  // idle hook may act as the user.
  EXPECT_THROW(gui.WaitEvent(), TScriptExhausted);
  int calls = 0;
  gui.SetIdleHook([&](TScriptedGui& g) {
    if (calls++ == 0) g.CloseBox(w);
  });
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::WindowClose);
  EXPECT_EQ(gui.FindWindow("Main"), w);  // a close request closes nothing
  EXPECT_THROW(gui.WaitEvent(), TScriptExhausted);
}

TEST_F(ScriptedGui, MenusGroupsAndCheckMarks) {
  const THandle w = gui.CreateWindow("Main", 0, 0, 400, 400, kWinTitleBar | kWinMenuBar);
  const THandle file = gui.CreateMenu(w, "     Datei ");
  const THandle load = gui.AddMenuItem(file, "Movie 1 (Hauptbild) Laden", 2);
  const THandle sep = gui.AddMenuItem(file, "", 99);
  const THandle preview = gui.CreateMenu(w, "        Vorschau ", 38);
  const THandle size = gui.CreateSubMenu(preview, Latin1("Vorschau-Größe einstellen"), 39);
  const THandle px100 = gui.AddMenuItem(size, "100 Pixel Width", 52);
  const THandle back = gui.CreateMenu(w, Latin1("     Zurück"));
  gui.AddMenuItem(back, Latin1("1 Bild zurück als Vorschau"), 100);

  EXPECT_EQ(gui.TopMenus(w), (std::vector<THandle>{file, preview, back}));
  EXPECT_TRUE(gui.Menu(sep)->separator);
  EXPECT_EQ(gui.Menu(sep)->command, 0);
  EXPECT_EQ(gui.FindMenuItem(w, 52), px100);
  EXPECT_EQ(gui.FindMenuItem(w, 99), 0);
  EXPECT_EQ(gui.MenuText(load), "Movie 1 (Hauptbild) Laden");

  // A window without menu bar gets no menus.
  const THandle plain = gui.CreateWindow("Plain", 0, 0, 10, 10, kWinTitleBar);
  EXPECT_EQ(gui.CreateMenu(plain, "x"), 0);

  ASSERT_TRUE(gui.ChooseMenu(w, 52));
  TEvent e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::MenuCommand);
  EXPECT_EQ(e.data, 52);
  EXPECT_EQ(e.window, w);
  // Opening a menu title that carries a number posts it.
  ASSERT_TRUE(gui.OpenMenu(preview));
  EXPECT_EQ(gui.WaitEvent().data, 38);
  ASSERT_TRUE(gui.OpenMenu(file));
  EXPECT_EQ(gui.PendingEvents(), 0u);

  // Groups switch all members; a disabled top menu blocks its items,
  // also those in submenus.
  const THandle all = gui.CreateMenuGroup({file, preview, back});
  const THandle picture = gui.CreateMenuGroup({back});
  gui.EnableMenuGroup(all, false);
  EXPECT_FALSE(gui.MenuEnabled(file));
  EXPECT_FALSE(gui.MenuEnabled(back));
  EXPECT_FALSE(gui.ChooseMenu(w, 2));
  EXPECT_FALSE(gui.ChooseMenu(w, 52));
  EXPECT_TRUE(gui.MenuEnabled(load));  // the item itself is untouched
  gui.EnableMenuGroup(all, true);
  gui.EnableMenuGroup(picture, false);
  EXPECT_TRUE(gui.ChooseMenu(w, 2));
  EXPECT_FALSE(gui.ChooseMenu(w, 100));
  gui.EnableMenuGroup(12345, false);  // unknown group: nothing
  EXPECT_TRUE(gui.MenuEnabled(file));

  // A disabled window takes no menu choice either.
  gui.EnableGadget(w, false);
  EXPECT_FALSE(gui.ChooseMenu(w, 2));
  gui.EnableGadget(w, true);

  gui.CheckMenuItem(px100, true);
  EXPECT_TRUE(gui.MenuItemChecked(px100));
  gui.CheckMenuItem(size, true);  // menus carry no check mark
  EXPECT_FALSE(gui.MenuItemChecked(size));

  gui.Destroy(w);
  EXPECT_EQ(gui.Menu(px100), nullptr);
  EXPECT_EQ(gui.FindMenuItem(w, 2), 0);
}

TEST_F(ScriptedGui, UserActionsOnGadgetsChangeStateAndQueueEvents) {
  const THandle w = gui.CreateWindow("Settings", 0, 0, 244, 651, kWinTitleBar);
  const THandle check = gui.CreateCheckBox(w, 10, 5, 100, 19, "Hauptbild");
  const THandle slider = gui.CreateSlider(w, 0, 19, 300, 19, 0, 100);
  const THandle field = gui.CreateTextField(w, 150, 29, 40, 19);
  const THandle ok = gui.CreateButton(w, 10, 618, 100, 19, "Speichern", TButtonKind::DefaultOk);
  const THandle cancel = gui.CreateButton(w, 129, 618, 100, 19, "Abbruch", TButtonKind::Cancel);

  ASSERT_TRUE(gui.Click(check));
  TEvent e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::Gadget);
  EXPECT_EQ(e.data, 1);
  EXPECT_EQ(gui.GetState(check), 1);

  ASSERT_TRUE(gui.MoveSlider(slider, 250));  // clamped to the range
  e = gui.WaitEvent();
  EXPECT_EQ(e.data, 100);
  gui.SetRange(slider, 0, 40);
  EXPECT_EQ(gui.GetState(slider), 40);
  gui.SetState(slider, -5);
  EXPECT_EQ(gui.GetState(slider), 0);
  EXPECT_EQ(gui.PendingEvents(), 0u);  // set by the program: no event

  ASSERT_TRUE(gui.TypeText(field, "Mid", true));
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::TextChanged);
  EXPECT_EQ(e.text, "Mid");
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::TextEnter);
  e = gui.WaitEvent();  // Return presses the default button
  EXPECT_EQ(e.kind, TEventKind::Gadget);
  EXPECT_EQ(e.source, ok);
  EXPECT_EQ(gui.Focus(), field);
  ASSERT_TRUE(gui.LeaveField(field));
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::FocusLost);
  EXPECT_EQ(e.text, "Mid");

  // Disabled or hidden gadgets and gadgets of disabled windows cannot be
  // used.
  gui.EnableGadget(cancel, false);
  EXPECT_FALSE(gui.Click(cancel));
  gui.EnableGadget(cancel, true);
  gui.ShowGadget(cancel, false);
  EXPECT_FALSE(gui.Click(cancel));
  gui.ShowGadget(cancel, true);
  gui.EnableGadget(w, false);
  EXPECT_FALSE(gui.Click(cancel));
  EXPECT_FALSE(gui.TypeText(field, "x"));
  gui.EnableGadget(w, true);
  EXPECT_TRUE(gui.Click(cancel));
  EXPECT_FALSE(gui.Click(field));  // text fields are not clicked this way
}

TEST_F(ScriptedGui, WindowsResizeDropAndPointer) {
  const THandle w = gui.CreateWindow("Main", 0, 0, 400, 400,
                                     kWinTitleBar | kWinResizable | kWinAcceptDrop | kWinCentered);
  gui.SetDesktopSize(1000, 800);
  const THandle centred = gui.CreateWindow("C", 0, 0, 400, 400, kWinCentered);
  EXPECT_EQ(gui.Geometry(centred).x, 300);
  EXPECT_EQ(gui.Geometry(centred).y, 200);

  gui.SetMinimumSize(w, 320, 240);
  gui.ResizeWindow(w, 100, 500);
  TEvent e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::WindowSize);
  EXPECT_EQ(e.x, 320);
  EXPECT_EQ(e.y, 500);
  EXPECT_EQ(gui.ClientSize(w).width, 320);
  gui.MaximizeWindow(w);
  EXPECT_TRUE(gui.Gadget(w)->maximized);
  EXPECT_EQ(gui.ClientSize(w).width, 1000);
  // The program's own resizing is reported as well, once per real change.
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::WindowSize);
  EXPECT_EQ(e.x, 1000);
  EXPECT_EQ(e.y, 800);
  gui.MaximizeWindow(w);
  gui.SetClientSize(w, 1000, 800);
  EXPECT_EQ(gui.PendingEvents(), 0u);

  gui.DropFile(w, "/tmp/a.ini");
  gui.DropFile(centred, "/tmp/b.ini");  // does not accept drops
  e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::WindowDrop);
  EXPECT_EQ(e.text, "/tmp/a.ini");
  EXPECT_EQ(gui.PendingEvents(), 0u);

  gui.SetStatusText(w, "1[KEY 1]  JuliaSet=0 Name M1: start");
  EXPECT_EQ(gui.Gadget(w)->statusText, "1[KEY 1]  JuliaSet=0 Name M1: start");
  const THandle canvas = gui.CreateCanvas(w, 0, 0, 50, 50);
  gui.SetPointer(canvas, TPointer::Cross);
  gui.SetPointer(0, TPointer::Wait);
  EXPECT_EQ(gui.Gadget(canvas)->pointer, TPointer::Cross);
  EXPECT_EQ(gui.ProgramPointer(), TPointer::Wait);

  // Child windows go with their parent.
  const THandle child = gui.CreateWindow("Child", 0, 0, 10, 10, kWinTitleBar, w);
  gui.Destroy(w);
  EXPECT_EQ(gui.Gadget(child), nullptr);
  EXPECT_EQ(gui.Windows(), std::vector<THandle>{centred});
}

TEST_F(ScriptedGui, ToolbarFromPixelsAndFromFile) {
  const THandle w = gui.CreateWindow("Main", 0, 0, 400, 400, kWinTitleBar | kWinMenuBar);
  std::vector<std::uint32_t> strip(25 * 20 * 20 + 7 * 20, 0xFF808080u);
  const THandle tb = gui.CreateToolbar(w, strip.data(), 25 * 20 + 7, 20);
  EXPECT_EQ(gui.ToolbarButtonCount(tb), 25);
  gui.SetToolbarButton(tb, 3, Latin1("1 Bild zurück nach M1"), 103);
  gui.SetToolbarButton(tb, 25, "no such button", 4);  // skipped
  EXPECT_EQ(gui.ToolbarCommand(tb, 3), 103);
  EXPECT_EQ(gui.ToolbarCommand(tb, 4), 0);
  EXPECT_EQ(gui.ToolbarCommand(tb, 25), 0);
  EXPECT_EQ(gui.Gadget(tb)->buttons[3].first, Latin1("1 Bild zurück nach M1"));
  ASSERT_TRUE(gui.PressToolbar(tb, 3));
  EXPECT_FALSE(gui.PressToolbar(tb, 25));
  const TEvent e = gui.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::Gadget);
  EXPECT_EQ(e.source, tb);
  EXPECT_EQ(e.data, 3);
  gui.ShowGadget(tb, false);
  EXPECT_FALSE(gui.PressToolbar(tb, 3));

  // From a file only the header counts; a missing file gives no buttons.
  const std::string path = std::string(ORK_BINARY_DIR) + "/gui_test_strip.png";
  {
    const unsigned char head[24] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                    'I', 'H', 'D', 'R', 0, 0, 0x01, 0xF4, 0, 0, 0, 20};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(head), sizeof head);
  }
  EXPECT_EQ(gui.ToolbarButtonCount(gui.CreateToolbarFromFile(w, path)), 25);
  std::remove(path.c_str());
  const THandle none = gui.CreateToolbarFromFile(w, path);
  EXPECT_NE(none, 0);
  EXPECT_EQ(gui.ToolbarButtonCount(none), 0);
}

TEST_F(ScriptedGui, CanvasDrawsPresentsAndRecordsTheLastPicture) {
  const THandle w = gui.CreateWindow("Main", 0, 0, 400, 400, kWinTitleBar);
  const THandle canvas = gui.CreateCanvas(w, 0, 0, 40, 30);
  std::vector<std::uint32_t> pic(10 * 5);
  for (int i = 0; i < 50; ++i) pic[i] = 0x00010203u * (i + 1);  // alpha 0 on purpose
  gui.CanvasClear(canvas, 0xFF000000u);
  gui.CanvasPixmap(canvas, 15, 12, pic.data(), 10, 5);
  gui.CanvasLine(canvas, 0, 2, 39, 2, 0xFF808080u, 4);
  gui.CanvasText(canvas, 0, 0, "Kein Image", 0xFFFFFFFFu);
  // Nothing is shown before the present.
  EXPECT_EQ(gui.ShownPixel(canvas, 15, 12), 0xFF000000u);
  gui.CanvasPresent(canvas);
  const TScriptedGadget* g = gui.Gadget(canvas);
  EXPECT_EQ(g->presents, 1);
  // Pictures are shown opaque, at their place; the rest stays clear.
  EXPECT_EQ(gui.ShownPixel(canvas, 15, 12), 0xFF010203u);
  EXPECT_EQ(gui.ShownPixel(canvas, 24, 16), 0xFF000000u | (0x00010203u * 50));
  EXPECT_EQ(gui.ShownPixel(canvas, 14, 12), 0xFF000000u);
  EXPECT_EQ(gui.ShownPixel(canvas, 25, 12), 0xFF000000u);
  // A 4-pixel line at y = 2 covers rows 1 ... 4.
  EXPECT_EQ(gui.ShownPixel(canvas, 20, 0), 0xFF000000u);
  EXPECT_EQ(gui.ShownPixel(canvas, 20, 1), 0xFF808080u);
  EXPECT_EQ(gui.ShownPixel(canvas, 39, 4), 0xFF808080u);
  EXPECT_EQ(gui.ShownPixel(canvas, 20, 5), 0xFF000000u);
  EXPECT_EQ(gui.ShownPixel(canvas, 40, 2), 0u);  // outside
  ASSERT_EQ(g->presentedOps.size(), 4u);
  EXPECT_EQ(g->presentedOps[3].kind, TDrawOp::Kind::Text);
  EXPECT_EQ(g->presentedOps[3].text, "Kein Image");
  EXPECT_EQ(g->lastPixmapX, 15);
  EXPECT_EQ(g->lastPixmapWidth, 10);
  EXPECT_EQ(g->lastPixmap, pic);

  // Pictures partly outside are cut, not wrapped.
  gui.CanvasClear(canvas, 0);
  gui.CanvasPixmap(canvas, -5, 28, pic.data(), 10, 5);
  gui.CanvasPresent(canvas);
  EXPECT_EQ(gui.ShownPixel(canvas, 0, 28), 0xFF000000u | (0x00010203u * 6));
  EXPECT_EQ(gui.ShownPixel(canvas, 5, 28), 0xFF000000u);
  EXPECT_EQ(gui.Gadget(canvas)->presentedOps.size(), 2u);

  // Panels centre their picture.
  const THandle panel = gui.CreatePanel(w, 0, 0, 100, 100, "Vorschau", false);
  gui.SetPanelPixmap(panel, pic.data(), 10, 5);
  EXPECT_EQ(gui.Gadget(panel)->pictureX, 45);
  EXPECT_EQ(gui.Gadget(panel)->pictureY, 47);
  EXPECT_EQ(gui.Gadget(panel)->picture.Get(9, 4), 0xFF000000u | (0x00010203u * 50));
}

TEST_F(ScriptedGui, DialogsAnswerFromTheScriptAndAreRecorded) {
  gui.AnswerQuestion(false);
  gui.AnswerQuestion(true);
  gui.AnswerFile("/work/out/bild.png");
  gui.AnswerFile("");
  gui.MessageBox("Orkelund", Latin1("Movie 1 und Movie 2 müssen geladen sein."));
  EXPECT_FALSE(gui.Question("Orkelund", "Wirklich beenden ?"));
  EXPECT_TRUE(gui.Question("Orkelund", "Close really ?"));
  EXPECT_EQ(gui.FileRequester("Save", "Output/", "PNG (*.png)|JPEG (*.jpg)", true),
            "/work/out/bild.png");
  EXPECT_EQ(gui.FileRequester("Open", "INI/", "Movie (*.ini)", false), "");
  EXPECT_TRUE(gui.OpenUrl("http://example.org/manual"));
  EXPECT_EQ(gui.UnusedAnswers(), 0u);
  EXPECT_THROW(gui.Question("Orkelund", "unexpected"), TScriptExhausted);
  EXPECT_THROW(gui.FileRequester("Open", "", "", false), TScriptExhausted);

  const auto& d = gui.Dialogs();
  ASSERT_EQ(d.size(), 8u);
  EXPECT_EQ(d[0].kind, TDialogRecord::Kind::Message);
  EXPECT_EQ(d[1].text, "Wirklich beenden ?");
  EXPECT_FALSE(d[1].answer);
  EXPECT_TRUE(d[3].save);
  EXPECT_EQ(d[3].pattern, "PNG (*.png)|JPEG (*.jpg)");
  EXPECT_EQ(d[4].fileAnswer, "");
  EXPECT_EQ(d[5].kind, TDialogRecord::Kind::Url);
  EXPECT_EQ(d[6].text, "unexpected");  // recorded even when unanswered
  EXPECT_EQ(gui.Messages(), std::vector<std::string>{Latin1("Movie 1 und Movie 2 müssen geladen sein.")});
}

TEST(GuiCurrent, WithoutInstalledBackEndAScriptedOneServes) {
  TGui* previous = SetGui(nullptr);
  const THandle w = Gui().CreateWindow("x", 0, 0, 10, 10, 0);
  EXPECT_NE(w, 0);
  EXPECT_NE(dynamic_cast<TScriptedGui*>(&Gui()), nullptr);
  Gui().Destroy(w);
  TScriptedGui mine;
  EXPECT_EQ(SetGui(&mine), nullptr);
  EXPECT_EQ(&Gui(), &mine);
  SetGui(previous);
}

}  // namespace
}  // namespace ork
