// The Qt back end on the offscreen platform: widgets are driven the way Qt
// delivers user input, and what comes out of the adapter's queue is checked.
#include "gui/qt/qt_gui.h"

#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>
#include <QtCore/QThread>
#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSlider>
#include <QtWidgets/QToolBar>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace ork {
namespace {

// One QApplication per process, made before the first test and taken down
// before static destruction begins.
class TQtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    gui = new TQtGui(argc, argv);
    SetGui(gui);
  }
  void TearDown() override {
    SetGui(nullptr);
    delete gui;
    gui = nullptr;
  }
  static inline TQtGui* gui = nullptr;

 private:
  int argc = 1;
  char name[12] = "test_gui_qt";
  char* argv[2] = {name, nullptr};
};

const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

TQtGui& QtBackEnd() { return *TQtEnvironment::gui; }

// Takes every queued event after letting Qt deliver what it has.
std::vector<TEvent> Drain(TQtGui& gui) {
  std::vector<TEvent> out;
  TEvent e;
  while (gui.PollEvent(e)) out.push_back(e);
  return out;
}

QMainWindow* MainWidget(const char* title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == QString::fromLatin1(title)) return qobject_cast<QMainWindow*>(w);
  return nullptr;
}

TEST(QtGui, WindowMenuToolbarAndPostedCommands) {
  TQtGui& gui = QtBackEnd();
  const THandle w = gui.CreateWindow("Orkelund smoke", 20, 20, 400, 300,
                                     kWinTitleBar | kWinResizable | kWinMenuBar | kWinStatusLine |
                                         kWinClientSize);
  ASSERT_NE(w, 0);
  const THandle file = gui.CreateMenu(w, "      File ");
  gui.AddMenuItem(file, "Load Movie 1 (MainScreen)", 2);
  gui.AddMenuItem(file, "", 0);
  const THandle exit = gui.AddMenuItem(file, "Exit", 11);
  const THandle preview = gui.CreateMenu(w, "        Preview ", 38);
  const THandle sub = gui.CreateSubMenu(preview, "Set calculating Size for Preview", 39);
  const THandle px = gui.AddMenuItem(sub, "100 Pixel Width", 52);
  EXPECT_EQ(gui.FindMenuItem(w, 11), exit);
  EXPECT_EQ(gui.MenuText(px), "100 Pixel Width");

  // A strip of five 20-pixel icons plus a remainder that is dropped.
  std::vector<std::uint32_t> strip(107 * 20);
  for (size_t i = 0; i < strip.size(); ++i) strip[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 977);
  const THandle tb = gui.CreateToolbar(w, strip.data(), 107, 20);
  EXPECT_EQ(gui.ToolbarButtonCount(tb), 5);
  gui.SetToolbarButton(tb, 2, "Save picture as Image", 120);
  gui.SetToolbarButton(tb, 9, "none", 1);
  EXPECT_EQ(gui.ToolbarCommand(tb, 2), 120);
  const THandle other = gui.CreateWindow("Other", 0, 0, 100, 100, kWinTitleBar);
  EXPECT_EQ(gui.ToolbarButtonCount(gui.CreateToolbarFromFile(other, "/nonexistent/toolbar20.png")), 0);
  // The shipped strip; a small file declaring a huge picture is not decoded.
  const std::string source = ORK_SOURCE_DIR;
  EXPECT_EQ(gui.ToolbarButtonCount(gui.CreateToolbarFromFile(other, source + "/data/toolbar20.png")),
            25);
  EXPECT_EQ(gui.ToolbarButtonCount(gui.CreateToolbarFromFile(
                other, source + "/tests/fuzz/corpus/picture/png_bomb.png")),
            0);
  gui.Destroy(other);
  Drain(gui);
  // The toolbar takes its room above the client area, which keeps its size.
  EXPECT_EQ(gui.ClientSize(w).width, 400);
  EXPECT_EQ(gui.ClientSize(w).height, 300);

  QMainWindow* widget = MainWidget("Orkelund smoke");
  ASSERT_NE(widget, nullptr);
  QList<QToolBar*> bars = widget->findChildren<QToolBar*>();
  ASSERT_FALSE(bars.empty());
  QList<QAction*> buttons = bars.front()->actions();
  ASSERT_EQ(buttons.size(), 5);
  EXPECT_EQ(buttons[2]->toolTip(), QString("Save picture as Image"));
  buttons[2]->trigger();

  // Menu items post their number with the window as source.
  for (QAction* action : widget->findChildren<QAction*>())
    if (action->text() == "100 Pixel Width") action->trigger();
  gui.PostCommand(83, w);
  std::vector<TEvent> events = Drain(gui);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, TEventKind::Gadget);
  EXPECT_EQ(events[0].source, tb);
  EXPECT_EQ(events[0].data, 2);
  EXPECT_EQ(events[1].kind, TEventKind::MenuCommand);
  EXPECT_EQ(events[1].data, 52);
  EXPECT_EQ(events[1].window, w);
  EXPECT_EQ(events[2].data, 83);

  // WaitEvent returns a posted command without blocking.
  gui.PostCommand(1);
  const TEvent waited = gui.WaitEvent();
  EXPECT_EQ(waited.data, 1);
  EXPECT_EQ(waited.source, 0);

  // Groups: disabling the File menu disables its items' menu.
  const THandle group = gui.CreateMenuGroup({file, preview});
  gui.EnableMenuGroup(group, false);
  EXPECT_FALSE(gui.MenuEnabled(file));
  gui.EnableMenuGroup(group, true);
  EXPECT_TRUE(gui.MenuEnabled(preview));
  gui.CheckMenuItem(px, true);
  EXPECT_TRUE(gui.MenuItemChecked(px));

  gui.SetStatusText(w, "Calculation ... (Cancel: hold Esc-Key)");

  // The program's own resize is reported once settled, with the client size.
  gui.SetClientSize(w, 500, 350);
  int sizeEvents = 0;
  for (const TEvent& e : Drain(gui))
    if (e.kind == TEventKind::WindowSize) {
      ++sizeEvents;
      EXPECT_EQ(e.x, 500);
      EXPECT_EQ(e.y, 350);
    }
  EXPECT_EQ(sizeEvents, 1);
  EXPECT_EQ(gui.ClientSize(w).height, 350);

  // The close box only asks.
  widget->close();
  events = Drain(gui);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, TEventKind::WindowClose);
  EXPECT_EQ(gui.KindOf(w), TGadgetKind::Window);
  gui.Destroy(w);
  EXPECT_EQ(gui.KindOf(w), TGadgetKind::None);
  EXPECT_EQ(gui.KindOf(tb), TGadgetKind::None);
  EXPECT_EQ(gui.FindMenuItem(w, 11), 0);
  EXPECT_EQ(MainWidget("Orkelund smoke"), nullptr);
}

TEST(QtGui, GadgetsKeepPixelGeometryConvertTextsAndReportUserActions) {
  TQtGui& gui = QtBackEnd();
  const THandle w = gui.CreateWindow("Gadgets", 40, 40, 320, 280, kWinTitleBar | kWinClientSize);
  const THandle panel = gui.CreatePanel(w, 10, 100, 220, 48, "Sprache");
  const std::string umlaut = "Zur\xFC" "ck";  // ISO-8859-1
  const THandle label = gui.CreateLabel(panel, 10, 3, 130, 19, umlaut);
  const THandle field = gui.CreateTextField(w, 10, 10, 300, 20, "start");
  const THandle check = gui.CreateCheckBox(panel, 150, 3, 60, 19, "JPG");
  const THandle slider = gui.CreateSlider(w, 0, 60, 300, 19, 0, 100);
  const THandle list = gui.CreateListBox(w, 10, 150, 300, 90);
  const THandle ok = gui.CreateButton(w, 10, 250, 100, 20, "OK", TButtonKind::DefaultOk);
  gui.CreateButton(w, 210, 250, 100, 20, "Cancel", TButtonKind::Cancel);
  gui.SetTextColor(ok, 0xFF00FF00u);
  Drain(gui);

  const TRect r = gui.Geometry(field);
  EXPECT_EQ(r.x, 10);
  EXPECT_EQ(r.y, 10);
  EXPECT_EQ(r.width, 300);
  EXPECT_EQ(r.height, 20);
  EXPECT_EQ(gui.Geometry(label).y, 3);
  EXPECT_EQ(gui.WindowOf(label), w);
  EXPECT_EQ(gui.GetText(label), umlaut);
  QMainWindow* widget = MainWidget("Gadgets");
  ASSERT_NE(widget, nullptr);
  QLabel* qlabel = nullptr;
  for (QLabel* l : widget->findChildren<QLabel*>())
    if (l->text() == QString::fromUtf8("Zurück")) qlabel = l;
  ASSERT_NE(qlabel, nullptr);

  // Changes made by the program are no user actions.
  gui.SetState(check, 1);
  gui.SetState(slider, 40);
  gui.SetText(field, "Mid");
  gui.AddItem(list, "start", "start");
  gui.AddItem(list, "zoom", "zoom-attached");
  gui.SetState(list, 0);
  EXPECT_TRUE(Drain(gui).empty());
  EXPECT_EQ(gui.GetState(slider), 40);
  EXPECT_EQ(gui.GetText(field), "Mid");

  // User actions, delivered the way Qt delivers them.
  widget->findChildren<QCheckBox*>().front()->click();
  widget->findChildren<QSlider*>().front()->setValue(55);
  gui.SetState(list, -1);
  QLineEdit* edit = widget->findChildren<QLineEdit*>().front();
  edit->setFocus();
  QKeyEvent typeA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QApplication::sendEvent(edit, &typeA);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QApplication::sendEvent(edit, &enter);
  std::vector<TEvent> events = Drain(gui);
  ASSERT_GE(events.size(), 5u);
  EXPECT_EQ(events[0].kind, TEventKind::Gadget);
  EXPECT_EQ(events[0].source, check);
  EXPECT_EQ(events[0].data, 0);  // was ticked by the program
  EXPECT_EQ(events[1].source, slider);
  EXPECT_EQ(events[1].data, 55);
  EXPECT_EQ(events[2].kind, TEventKind::TextChanged);
  EXPECT_EQ(events[2].text, "Mida");
  EXPECT_EQ(events[3].kind, TEventKind::TextEnter);
  EXPECT_EQ(events[4].kind, TEventKind::Gadget);  // Return pressed the default button
  EXPECT_EQ(events[4].source, ok);
  (void)list;
  gui.Destroy(w);
}

TEST(QtGui, CanvasDrawsAndReportsKeysAndMouse) {
  TQtGui& gui = QtBackEnd();
  const THandle w = gui.CreateWindow("Canvas", 0, 0, 200, 100, kWinTitleBar | kWinClientSize);
  const THandle canvas = gui.CreateCanvas(w, 0, 0, 200, 100);
  std::vector<std::uint32_t> pic(10 * 4, 0x00123456u);  // alpha 0: shown opaque anyway
  gui.CanvasClear(canvas, 0xFF000000u);
  gui.CanvasPixmap(canvas, 95, 48, pic.data(), 10, 4);
  gui.CanvasLine(canvas, 0, 10, 199, 10, 0xFF808080u, 4);
  gui.CanvasText(canvas, 0, 50, "Kein Image", 0xFFFFFFFFu);
  EXPECT_EQ(gui.ShownPixel(canvas, 95, 48), 0xFF000000u);  // not yet presented
  gui.CanvasPresent(canvas);
  EXPECT_EQ(gui.ShownPixel(canvas, 95, 48), 0xFF123456u);
  EXPECT_EQ(gui.ShownPixel(canvas, 104, 51), 0xFF123456u);
  EXPECT_EQ(gui.ShownPixel(canvas, 105, 51), 0xFF000000u);
  EXPECT_EQ(gui.ShownPixel(canvas, 50, 9), 0xFF808080u);
  EXPECT_EQ(gui.ShownPixel(canvas, 50, 14), 0xFF000000u);
  gui.SetPointer(canvas, TPointer::Cross);
  gui.SetFocus(canvas);
  Drain(gui);

  QWidget* area = MainWidget("Canvas")->centralWidget()->childAt(5, 5);
  ASSERT_NE(area, nullptr);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
  QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z", true);
  QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, "z", true);
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, "z");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(area, &down);
  QApplication::sendEvent(area, &repeatDown);
  QApplication::sendEvent(area, &repeatUp);
  QApplication::sendEvent(area, &up);
  QApplication::sendEvent(area, &escape);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 40), QPointF(30, 40), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(area, &press);
  std::vector<TEvent> events;
  for (const TEvent& e : Drain(gui))
    if (e.kind != TEventKind::WindowActivate && e.kind != TEventKind::MouseEnter) events.push_back(e);
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].kind, TEventKind::KeyDown);
  EXPECT_EQ(events[0].key, 'Z');
  EXPECT_EQ(events[0].source, canvas);
  EXPECT_EQ(events[0].data, 0);
  EXPECT_EQ(events[1].data, 1);  // auto-repeat press marked, its release dropped
  EXPECT_EQ(events[2].kind, TEventKind::KeyUp);
  EXPECT_EQ(events[3].key, kKeyEscape);
  EXPECT_EQ(events[4].kind, TEventKind::MouseDown);
  EXPECT_EQ(events[4].x, 30);
  EXPECT_EQ(events[4].y, 40);
  EXPECT_EQ(events[4].buttons, kMouseLeft);

  // Panels show pictures; resizing the canvas gives it a fresh buffer.
  const THandle panel = gui.CreatePanel(w, 0, 0, 50, 50, "Vorschau", false);
  gui.SetPanelPixmap(panel, pic.data(), 10, 4);
  gui.ResizeGadget(canvas, 0, 0, 120, 60);
  EXPECT_EQ(gui.Geometry(canvas).width, 120);
  EXPECT_EQ(gui.ShownPixel(canvas, 119, 59), 0xFF000000u);
  EXPECT_EQ(gui.ShownPixel(canvas, 150, 59), 0u);
  gui.Destroy(w);
}

// Hiding the toolbar of a maximised window gives its room to the client
// area (no strip is left where it was), and the program hears the new size.
TEST(QtGui, ToolbarOfAMaximisedWindowGivesItsRoomToTheClientArea) {
  TQtGui& gui = QtBackEnd();
  const THandle w = gui.CreateWindow("Maximised", 0, 0, 400, 300,
                                     kWinTitleBar | kWinResizable | kWinMenuBar | kWinStatusLine);
  gui.CreateMenu(w, "File");
  std::vector<std::uint32_t> strip(40 * 20, 0xFF336699u);
  const THandle tb = gui.CreateToolbar(w, strip.data(), 40, 20);
  gui.MaximizeWindow(w);
  Drain(gui);
  const TSize before = gui.ClientSize(w);
  gui.ShowGadget(tb, false);
  TSize reported;
  for (const TEvent& e : Drain(gui))
    if (e.kind == TEventKind::WindowSize) reported = {e.x, e.y};
  const TSize after = gui.ClientSize(w);
  EXPECT_EQ(after.width, before.width);
  EXPECT_GT(after.height, before.height);
  EXPECT_EQ(reported.height, after.height);
  EXPECT_EQ(MainWidget("Maximised")->centralWidget()->height(), after.height);
  gui.Destroy(w);
}

// X11 flags only some repeated releases of a held key; the unflagged ones
// come as a release and a press with one timestamp and must not end the key.
TEST(QtGui, UnflaggedRepeatReleaseOfAHeldKeyIsNoRelease) {
  TQtGui& gui = QtBackEnd();
  const THandle w = gui.CreateWindow("Repeat", 0, 0, 100, 100, kWinTitleBar | kWinClientSize);
  const THandle canvas = gui.CreateCanvas(w, 0, 0, 100, 100);
  Drain(gui);
  QWidget* area = MainWidget("Repeat")->centralWidget()->childAt(5, 5);
  ASSERT_NE(area, nullptr);
  struct TStep {
    QEvent::Type type;
    quint64 time;
  };
  // Held from 1000 to 1600 with two unflagged repeats, then pressed again.
  const TStep steps[] = {{QEvent::KeyPress, 1000},   {QEvent::KeyRelease, 1500},
                         {QEvent::KeyPress, 1500},   {QEvent::KeyRelease, 1533},
                         {QEvent::KeyPress, 1533},   {QEvent::KeyRelease, 1600},
                         {QEvent::KeyPress, 1700},   {QEvent::KeyRelease, 1750}};
  for (const TStep& step : steps) {
    QKeyEvent key(step.type, Qt::Key_Z, Qt::NoModifier, "z");
    key.setTimestamp(step.time);
    QApplication::sendEvent(area, &key);
  }
  std::vector<TEvent> events;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 500) {
    for (const TEvent& e : Drain(gui))
      if (e.kind == TEventKind::KeyDown || e.kind == TEventKind::KeyUp) events.push_back(e);
    QThread::msleep(10);
  }
  struct TExpected {
    TEventKind kind;
    int repeat;
  };
  const TExpected expected[] = {{TEventKind::KeyDown, 0}, {TEventKind::KeyDown, 1},
                                {TEventKind::KeyDown, 1}, {TEventKind::KeyUp, 0},
                                {TEventKind::KeyDown, 0}, {TEventKind::KeyUp, 0}};
  ASSERT_EQ(events.size(), std::size(expected));
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].kind, expected[i].kind) << i;
    EXPECT_EQ(events[i].data, expected[i].repeat) << i;
    EXPECT_EQ(events[i].source, canvas) << i;
  }
  gui.Destroy(w);
}

TEST(QtGui, ModalQuestionReturnsTheChosenButton) {
  TQtGui& gui = QtBackEnd();
  auto answer = [](QMessageBox::StandardButton which) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, which] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        box->button(which)->click();
        timer->stop();
        timer->deleteLater();
      }
    });
    timer->start(10);
  };
  answer(QMessageBox::Ok);
  EXPECT_TRUE(gui.Question("Orkelund", "Close really ?"));
  answer(QMessageBox::Cancel);
  gui.SetCancelText("Abbruch");
  QString cancelCaption;
  QTimer::singleShot(5, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
      cancelCaption = box->button(QMessageBox::Cancel)->text();
  });
  EXPECT_FALSE(gui.Question("Orkelund", "Wirklich beenden ?"));
  EXPECT_EQ(cancelCaption, QString("Abbruch"));
  gui.SetCancelText("");
  answer(QMessageBox::Ok);
  gui.MessageBox("Orkelund", "Movie 1 and Movie 2 must be loaded.");
}


// The toolkit's own dialog texts follow the program's language.
TEST(QtBackEnd, DialogTextsInTheProgramsLanguage) {
  TQtGui& gui = QtBackEnd();
  gui.SetDialogLanguage("de");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Save").remove('&'), QString("Speichern"));
  gui.SetDialogLanguage("en");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Save"), QString("&Save"));
}

// Return on a focused button presses that button, not the default one.
TEST(QtBackEnd, ReturnOnAFocusedButtonPressesIt) {
  TQtGui& gui = QtBackEnd();
  const THandle window = gui.CreateWindow("keys", 10, 10, 200, 100, kWinTitleBar);
  const THandle ok = gui.CreateButton(window, 0, 0, 90, 20, "OK", TButtonKind::DefaultOk);
  const THandle other = gui.CreateButton(window, 100, 0, 90, 20, "Other");
  Drain(gui);
  QMainWindow* widget = MainWidget("keys");
  ASSERT_NE(widget, nullptr);
  QPushButton* button = nullptr;
  for (QPushButton* b : widget->findChildren<QPushButton*>())
    if (b->text() == "Other") button = b;
  ASSERT_NE(button, nullptr);
  widget->activateWindow();
  button->setFocus();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(button, &press);
  std::vector<THandle> pressed;
  for (const TEvent& e : Drain(gui))
    if (e.kind == TEventKind::Gadget) pressed.push_back(e.source);
  EXPECT_EQ(pressed, std::vector<THandle>{other});
  (void)ok;
  gui.Destroy(window);
}

}  // namespace
}  // namespace ork
