// Every window and dialog of the program opened through the Qt back end, in
// German and in English: each label, button, check box, group title and
// text field must show its whole text inside its pixel rectangle (as far as
// the parents leave it visible), measured with the font metrics.
#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOption>

#include <cstdlib>
#include <set>
#include <string>

#include "gui/qt/qt_gui.h"
#include "model/movie.h"
#include "shell/commands.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/settings_test_util.h"
#include "shell/workdir.h"
#include "windows/tool_windows.h"

namespace ork {
namespace {

// The part of `rect` (in `widget`'s coordinates) that its parents up to the
// window's client area leave visible, in window coordinates.
QRect VisiblePart(const QWidget* widget, QRect rect, const QWidget* client) {
  QRect visible = QRect(widget->mapTo(client->window(), rect.topLeft()), rect.size());
  for (const QWidget* p = widget->parentWidget(); p && p != client->window();
       p = p->parentWidget())
    visible &= QRect(p->mapTo(client->window(), QPoint(0, 0)), p->size());
  return visible;
}

// The rectangle a gadget draws its text into, in its own coordinates.
QRect TextArea(const QWidget* w) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) return label->contentsRect();
  if (const auto* box = qobject_cast<const QCheckBox*>(w)) {
    QStyleOptionButton opt;
    opt.initFrom(box);
    opt.text = box->text();
    return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, box);
  }
  if (const auto* button = qobject_cast<const QPushButton*>(w)) {
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
  }
  if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit);
    // QLineEdit keeps 2 pixels left and right and 1 above and below.
    return edit->style()
        ->subElementRect(QStyle::SE_LineEditContents, &opt, edit)
        .marginsRemoved(edit->textMargins())
        .adjusted(2, 1, -2, -1);
  }
  if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
    QStyleOptionGroupBox opt;
    opt.initFrom(group);
    opt.text = group->title();
    opt.subControls = QStyle::SC_GroupBoxLabel;
    const QRect label =
        group->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel,
                                       group);
    return QRect(label.left(), 0, group->width() - label.left(), group->fontMetrics().height());
  }
  return {};
}

QString TextOf(const QWidget* w) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
  if (const auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
  return {};
}

// Adds one line per text that does not fit to `problems`.
void CheckWindow(const QMainWindow* window, std::set<std::string>& problems) {
  const QWidget* client = window->centralWidget();
  for (const QWidget* w : client->findChildren<QWidget*>()) {
    const QString text = TextOf(w);
    if (text.trimmed().isEmpty() || !w->isVisibleTo(window)) continue;
    // Fields may hold texts of any length (lists, names); the numbers they
    // show must fit.
    bool number = false;
    text.toDouble(&number);
    if (qobject_cast<const QLineEdit*>(w) && !number) continue;
    const QRect area = VisiblePart(w, TextArea(w), client);
    const QFontMetrics fm = w->fontMetrics();
    const int need = fm.horizontalAdvance(text);
    if (need <= area.width() && fm.height() <= area.height() + 1) continue;
    problems.insert(window->windowTitle().toStdString() + ": \"" + text.toStdString() +
                    "\" needs " + std::to_string(need) + "x" + std::to_string(fm.height()) +
                    ", has " + std::to_string(area.width()) + "x" +
                    std::to_string(area.height()));
  }
}

class WindowTextFitTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    gui_ = std::make_unique<TQtGui>(argc_, argv_);
    previous_ = SetGui(gui_.get());
    const std::string language = GetParam();
    dir_ = test::FreshWorkDir("text_fit_" + language);
    ASSERT_TRUE(PrepareWorkDir(dir_.string(), ShippedDataDir()).Ok());
    auto movie = TParameterAnim::Load("INI\\", "Default.ini", QuietHost());
    movie->OutputWidth = 80;
    movie->OutputHeight = 60;
    ASSERT_EQ(movie->Save("INI\\", "Small.ini", QuietHost()), 1);
    std::string settings = DefaultSettingsText();
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"Start-ini=Default.ini", "Start-ini=Small.ini"},
          {"StartVorschau=1", "StartVorschau=0"},
          {"Language=EN", "Language=" + language},
          {"Maximize=1", "Maximize=0"}}) {
      const size_t at = settings.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      settings.replace(at, from.size(), to);
    }
    test::WriteAll(dir_ / "INI" / "Settings.ini", settings);
    ResetShellState();
    ResetMainWindow();
    ClearCommandHandlers();
    SetFilmRunner({});
  }
  void TearDown() override {
    DestroyMainWindow();
    ResetShellState();
    ResetMainWindow();
    SetGui(previous_);
  }

  void RunPending() {
    TEvent e;
    while (gui_->PollEvent(e)) ASSERT_TRUE(HandleEvent(e));
  }
  // Checks every open window but the main one.
  void CheckOpenWindows() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible() && m->parentWidget())
        CheckWindow(m, problems_);
  }
  // Runs a command whose window waits for the user: once it shows, it is
  // checked and closed. Message boxes on the way are dismissed.
  void RunModal(int command) {
    std::set<QWidget*> before;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) before.insert(w);
    bool seen = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || before.count(w)) continue;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
          box->reject();
        } else if (auto* m = qobject_cast<QMainWindow*>(w); m && !seen) {
          seen = true;
          CheckWindow(m, problems_);
          m->close();
        }
      }
    });
    timer.start(20);
    gui_->PostCommand(command, MainWindow().Window);
    RunPending();
    EXPECT_TRUE(seen) << "command " << command << " showed no window";
  }
  void Run(int command) {
    gui_->PostCommand(command, MainWindow().Window);
    RunPending();
    CheckOpenWindows();
  }

  int argc_ = 1;
  char name_[12] = "test_gui_qt";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TQtGui> gui_;
  TGui* previous_ = nullptr;
  std::filesystem::path dir_;
  std::set<std::string> problems_;
};

TEST_P(WindowTextFitTest, EveryTextFitsItsRectangle) {
  CreateMainWindow();
  StartSequence();
  RunPending();
  RegisterToolWindows();
  // A large main window gives the settings window its longest position texts.
  gui_->SetClientSize(MainWindow().Window, 1600, 1000);
  RunPending();

  // The tool windows that stay open beside the main window.
  for (int command : {16, 1013, 17, 1017, 13, 14, 15, 28, 24, 25, 26, 27, 22, 23, 42, 64, 80})
    Run(command);
  // They stay above the main window, so they open below its menu bar and
  // toolbar, leaving both usable.
  const int areaTop = gui_->ClientScreenRect(MainWindow().Window).y;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->parentWidget() && qobject_cast<QMainWindow*>(w)) {
      EXPECT_GE(w->geometry().y(), areaTop) << w->windowTitle().toStdString();
    }
  }

  // The dialogs that wait for an answer: settings, film, line styles, grid
  // sizes, insert position, history back steps, start file chooser.
  for (int command : {5, 122, 118, 70, 85, 101, 6}) RunModal(command);

  std::string report;
  for (const std::string& p : problems_) report += p + "\n";
  EXPECT_TRUE(problems_.empty()) << report;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, WindowTextFitTest, ::testing::Values("DE", "EN"));

}  // namespace
}  // namespace ork
