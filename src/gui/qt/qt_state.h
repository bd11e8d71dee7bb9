// Inside the Qt back end: the widget classes that turn Qt's input into
// queued events, and the record kept per handle.
#pragma once

#include <QtCore/QPointer>
#include <QtCore/QTranslator>
#include <QtCore/QTimer>
#include <QtGui/QFont>
#include <QtGui/QImage>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/gui.h"

class QApplication;
class QAction;
class QMenu;
class QToolBar;
class QKeyEvent;

namespace ork {

QString FromLatin1(const std::string& text);
std::string ToLatin1(const QString& text);
// The virtual key code of a Qt key, 0 for keys the program has no code for.
int VirtualKey(int qtKey);
int MouseButtons(Qt::MouseButtons buttons);
int Modifiers(Qt::KeyboardModifiers modifiers);
// The one font of the gadgets in every window.
QFont ToolWindowFont();

// Queues an event; shared by all widgets of one back end.
class TQtSink {
 public:
  explicit TQtSink(TGui& gui);
  void Post(TEventKind kind, THandle window, THandle source, int data = 0,
            const std::string& text = "");
  void PostMouse(TEventKind kind, THandle window, THandle source, int x, int y, int buttons,
                 int modifiers);
  // Key event; false when the key has no code (then nothing was queued).
  // A held key repeats releases and presses. Only the presses are kept
  // (marked as repeats), so a tool held down is released exactly once. X11
  // does not flag every repeated release, so a release is held back for a
  // moment: a press of the same key with the same timestamp turns it into
  // a repeat, anything else lets it through first.
  bool PostKey(QKeyEvent* event, THandle window, THandle source, bool down);
  // Queues a release held back for a possible repeat press.
  void FlushRelease();
  // Signals fired by the program's own changes are not user actions; while
  // this is above 0 the widgets queue nothing for them.
  int quiet = 0;

 private:
  TGui& gui_;
  QTimer releaseTimer_;
  bool holdingRelease_ = false;
  TEvent heldRelease_;
  unsigned long long heldTimestamp_ = 0;
};

// A top-level window. The close box queues WindowClose and closes nothing;
// keys that no gadget takes arrive here; Return and Escape press the
// default and cancel buttons.
class TQtWindow : public QMainWindow {
 public:
  TQtWindow(TQtSink& sink, THandle handle, int flags, QWidget* parent);
  QWidget* Client() const { return client_; }
  int flags() const { return flags_; }
  THandle defaultButton = 0;
  THandle cancelButton = 0;
  // Client size still to be applied when the window is first shown.
  QSize pendingClient;
  // Set while the program destroys the window.
  bool closing = false;
  // Height of menu bar, toolbar and status line above and below the client.
  int ChromeHeight() const;
  // Gives the client area this size. The parts around it settle only once
  // laid out, so the window keeps correcting itself until the client area
  // has the size (WindowSize is reported only for the settled size).
  void RequestClient(QSize size);
  // The size asked for while it is still settling, else the actual one.
  QSize ClientArea() const;
  // Maximised, dropping any client size still settling.
  void Maximize();
  void SetToolbar(QToolBar* toolbar) { toolbar_ = toolbar; }
  QToolBar* Toolbar() const { return toolbar_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Keeps the status line: Qt would replace it by the (empty) status tip
  // of every menu item the pointer passes.
  bool event(QEvent* event) override;

 private:
  TQtSink& sink_;
  THandle handle_;
  int flags_;
  QWidget* client_;
  QPointer<QToolBar> toolbar_;
  QSize reported_;
  QSize wanted_;
  int corrections_ = 0;
  void ResizeOuter(QSize size);
};

// A plain area showing a picture centred; it reports mouse events once it
// shows a picture. Pixmap panels are this; group panels hold one inside
// their frame as the area their gadgets lie in.
class TQtPicture : public QWidget {
 public:
  TQtPicture(TQtSink& sink, THandle window, THandle handle, QWidget* parent);
  void SetPicture(const QImage& image);
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  TQtSink& sink_;
  THandle window_, handle_;
  QImage picture_;
};

// The drawing area: draws into a back buffer, shows the presented copy,
// takes the focus when clicked and reports keys and the mouse.
class TQtCanvas : public QWidget {
 public:
  TQtCanvas(TQtSink& sink, THandle window, THandle handle, QWidget* parent);
  QImage back;
  QImage shown;
  void ResizeBuffers(int width, int height);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  TQtSink& sink_;
  THandle window_, handle_;
};

// A text field that reports losing the focus.
class TQtLineEdit : public QLineEdit {
 public:
  TQtLineEdit(TQtSink& sink, THandle window, THandle handle, QWidget* parent);

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  TQtSink& sink_;
  THandle window_, handle_;
};

struct TQtItem {
  TGadgetKind kind = TGadgetKind::None;
  THandle window = 0;
  THandle parent = 0;
  QPointer<QWidget> widget;
  // Windows: the window. Panels with a frame: the area inside the frame.
  QPointer<QWidget> client;
  std::vector<std::string> attached;  // list and combo boxes
  std::vector<QAction*> actions;      // toolbar buttons
  std::vector<int> commands;
  std::string textColor, backColor;   // style sheet parts
};

struct TQtMenu {
  THandle window = 0;
  THandle parent = 0;
  QPointer<QMenu> menu;  // menus and submenus
  QAction* action = nullptr;  // items; for menus their menu action
  int command = 0;
  bool isMenu = false;
};

struct TQtState {
  std::unique_ptr<QApplication> app;  // only when this back end made it
  std::unique_ptr<QTranslator> translator;  // the toolkit's texts, when not English
  std::unique_ptr<TQtSink> sink;
  THandle next = 1;
  std::map<THandle, TQtItem> items;
  std::map<THandle, TQtMenu> menus;
  bool overrideCursor = false;
};

}  // namespace ork
