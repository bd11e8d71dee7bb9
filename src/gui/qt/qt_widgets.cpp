#include "gui/qt/qt_state.h"

#include <QtGui/QScreen>
#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtGui/QCloseEvent>
#include <QtGui/QDragEnterEvent>
#include <QtGui/QDropEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QLayout>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QToolBar>

namespace ork {

QString FromLatin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToLatin1(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

int VirtualKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return kKeyF1 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace: return kKeyBackspace;
    case Qt::Key_Tab: return kKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    case Qt::Key_Shift: return kKeyShift;
    case Qt::Key_Control: return kKeyControl;
    case Qt::Key_Alt: return kKeyAlt;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_Space: return kKeySpace;
    case Qt::Key_PageUp: return kKeyPageUp;
    case Qt::Key_PageDown: return kKeyPageDown;
    case Qt::Key_End: return kKeyEnd;
    case Qt::Key_Home: return kKeyHome;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_Insert: return kKeyInsert;
    case Qt::Key_Delete: return kKeyDelete;
    default: return 0;
  }
}

int MouseButtons(Qt::MouseButtons buttons) {
  int out = 0;
  if (buttons & Qt::LeftButton) out |= kMouseLeft;
  if (buttons & Qt::RightButton) out |= kMouseRight;
  if (buttons & Qt::MiddleButton) out |= kMouseMiddle;
  return out;
}

int Modifiers(Qt::KeyboardModifiers modifiers) {
  int out = 0;
  if (modifiers & Qt::ShiftModifier) out |= kModShift;
  if (modifiers & Qt::ControlModifier) out |= kModControl;
  if (modifiers & Qt::AltModifier) out |= kModAlt;
  return out;
}

QFont ToolWindowFont() {
  // The windows' pixel layout was made for a small UI font; this narrow
  // face at 10 pixels shows every text of the windows inside its gadget in
  // both languages. A pixel size keeps text and layout in proportion on
  // every screen resolution.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStretch(QFont::SemiCondensed);
  font.setPixelSize(10);
  return font;
}

// ---- TQtSink -------------------------------------------------------------------

namespace {
// X11 sends a repeat's release and press together; this covers their
// arrival in separate batches without delaying a real release noticeably.
constexpr int kRepeatPairMs = 40;
}  // namespace

TQtSink::TQtSink(TGui& gui) : gui_(gui) {
  releaseTimer_.setSingleShot(true);
  releaseTimer_.setInterval(kRepeatPairMs);
  QObject::connect(&releaseTimer_, &QTimer::timeout, [this] { FlushRelease(); });
}

void TQtSink::FlushRelease() {
  if (!holdingRelease_) return;
  holdingRelease_ = false;
  releaseTimer_.stop();
  gui_.PostEvent(heldRelease_);
}

void TQtSink::Post(TEventKind kind, THandle window, THandle source, int data,
                   const std::string& text) {
  if (quiet > 0) return;
  FlushRelease();
  TEvent event;
  event.kind = kind;
  event.window = window;
  event.source = source;
  event.data = data;
  event.text = text;
  gui_.PostEvent(event);
}

void TQtSink::PostMouse(TEventKind kind, THandle window, THandle source, int x, int y,
                        int buttons, int modifiers) {
  FlushRelease();
  TEvent event;
  event.kind = kind;
  event.window = window;
  event.source = source;
  event.x = x;
  event.y = y;
  event.buttons = buttons;
  event.modifiers = modifiers;
  gui_.PostEvent(event);
}

bool TQtSink::PostKey(QKeyEvent* qt, THandle window, THandle source, bool down) {
  const int key = VirtualKey(qt->key());
  if (key == 0) return false;
  bool repeat = qt->isAutoRepeat();
  if (holdingRelease_) {
    if (down && heldRelease_.key == key && heldTimestamp_ == qt->timestamp()) {
      holdingRelease_ = false;
      releaseTimer_.stop();
      repeat = true;
    } else {
      FlushRelease();
    }
  }
  if (!down && repeat) return true;
  TEvent event;
  event.kind = down ? TEventKind::KeyDown : TEventKind::KeyUp;
  event.window = window;
  event.source = source;
  event.key = key;
  event.data = down && repeat ? 1 : 0;
  event.modifiers = Modifiers(qt->modifiers());
  if (!down) {
    heldRelease_ = event;
    heldTimestamp_ = qt->timestamp();
    holdingRelease_ = true;
    releaseTimer_.start();
    return true;
  }
  gui_.PostEvent(event);
  return true;
}

// ---- TQtWindow -----------------------------------------------------------------

TQtWindow::TQtWindow(TQtSink& sink, THandle handle, int flags, QWidget* parent)
    : QMainWindow(parent, Qt::Window), sink_(sink), handle_(handle), flags_(flags) {
  client_ = new QWidget(this);
  client_->setFont(ToolWindowFont());
  client_->installEventFilter(this);
  setCentralWidget(client_);
  setAcceptDrops((flags & kWinAcceptDrop) != 0);
  if (flags & kWinStatusLine) statusBar()->setSizeGripEnabled((flags & kWinResizable) != 0);
  // A window with a parent is its dialog: only that type makes X11 window
  // managers keep it above the parent (WM_TRANSIENT_FOR), so tool windows
  // stay visible while the user clicks into the main picture.
  Qt::WindowFlags wf = parent ? Qt::Dialog : Qt::Window;
  if (flags & kWinTitleBar) {
    // Only the boxes asked for: a fixed-size window has no minimise and
    // maximise boxes, which leaves its title bar room for the title.
    wf |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
          Qt::WindowSystemMenuHint;
    if (flags & kWinResizable) wf |= Qt::WindowMinMaxButtonsHint;
  } else {
    wf |= Qt::FramelessWindowHint;
  }
  setWindowFlags(wf);
}

int TQtWindow::ChromeHeight() const {
  // Once shown the layout knows; before, the parts' preferred heights do.
  if (isVisible() && layout()) {
    layout()->activate();
    return height() - client_->height();
  }
  int h = 0;
  if (flags_ & kWinMenuBar) h += menuBar()->sizeHint().height();
  for (const QToolBar* bar : findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
    if (!bar->isHidden()) h += bar->sizeHint().height();
  if (flags_ & kWinStatusLine) h += statusBar()->sizeHint().height();
  return h;
}

void TQtWindow::closeEvent(QCloseEvent* event) {
  if (closing) {
    event->accept();
    return;
  }
  event->ignore();
  sink_.Post(TEventKind::WindowClose, handle_, handle_);
}

void TQtWindow::keyPressEvent(QKeyEvent* event) {
  const int key = VirtualKey(event->key());
  // Return on a focused button presses that button, not the default one.
  if (key == kKeyReturn && !event->isAutoRepeat()) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
      button->click();
      return;
    }
  }
  if (key == kKeyReturn && defaultButton && !event->isAutoRepeat()) {
    sink_.Post(TEventKind::Gadget, handle_, defaultButton);
    return;
  }
  if (key == kKeyEscape && cancelButton && !event->isAutoRepeat()) {
    sink_.Post(TEventKind::Gadget, handle_, cancelButton);
    return;
  }
  if (!sink_.PostKey(event, handle_, handle_, true)) QMainWindow::keyPressEvent(event);
}

void TQtWindow::keyReleaseEvent(QKeyEvent* event) {
  if (!sink_.PostKey(event, handle_, handle_, false)) QMainWindow::keyReleaseEvent(event);
}

void TQtWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    sink_.Post(TEventKind::WindowActivate, handle_, handle_);
  QMainWindow::changeEvent(event);
}

bool TQtWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) return true;
  return QMainWindow::event(event);
}

void TQtWindow::dragEnterEvent(QDragEnterEvent* event) {
  if ((flags_ & kWinAcceptDrop) && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TQtWindow::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile())
      sink_.Post(TEventKind::WindowDrop, handle_, handle_, 0, ToLatin1(url.toLocalFile()));
  event->acceptProposedAction();
}

void TQtWindow::ResizeOuter(QSize size) {
  if (!(flags_ & kWinResizable)) setFixedSize(size);
  resize(size);
}

void TQtWindow::RequestClient(QSize size) {
  wanted_ = size;
  corrections_ = 0;
  ResizeOuter(QSize(size.width(), size.height() + ChromeHeight()));
}

void TQtWindow::Maximize() {
  wanted_ = QSize();
  pendingClient = QSize();
  // Without a window manager that honours maximising (a bare X server) the
  // window would keep its start size; taking the screen's free area first
  // gives the same result there.
  if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
  showMaximized();
}

QSize TQtWindow::ClientArea() const {
  if (wanted_.isValid()) return wanted_;
  return QSize(width(), height() - ChromeHeight());
}

bool TQtWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) {
    const QSize now = client_->size();
    if (wanted_.isValid()) {
      if (now == wanted_ || ++corrections_ > 4) {
        wanted_ = QSize();
      } else {
        ResizeOuter(size() + (wanted_ - now));
        return QMainWindow::eventFilter(watched, event);
      }
    }
    // The client area's size is what the program lays out against; report
    // it only when it really changed.
    if (now != reported_ && isVisible()) {
      reported_ = now;
      sink_.PostMouse(TEventKind::WindowSize, handle_, handle_, now.width(), now.height(), 0, 0);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- TQtPicture ----------------------------------------------------------------

TQtPicture::TQtPicture(TQtSink& sink, THandle window, THandle handle, QWidget* parent)
    : QWidget(parent), sink_(sink), window_(window), handle_(handle) {}

void TQtPicture::SetPicture(const QImage& image) {
  picture_ = image;
  setMouseTracking(!picture_.isNull());
  update();
}

void TQtPicture::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2,
                    picture_);
}

void TQtPicture::mousePressEvent(QMouseEvent* event) {
  if (picture_.isNull()) return QWidget::mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  sink_.PostMouse(TEventKind::MouseDown, window_, handle_, p.x(), p.y(),
                  MouseButtons(event->button()), Modifiers(event->modifiers()));
}

void TQtPicture::mouseReleaseEvent(QMouseEvent* event) {
  if (picture_.isNull()) return QWidget::mouseReleaseEvent(event);
  const QPoint p = event->position().toPoint();
  sink_.PostMouse(TEventKind::MouseUp, window_, handle_, p.x(), p.y(),
                  MouseButtons(event->button()), Modifiers(event->modifiers()));
}

void TQtPicture::mouseMoveEvent(QMouseEvent* event) {
  if (picture_.isNull()) return QWidget::mouseMoveEvent(event);
  const QPoint p = event->position().toPoint();
  sink_.PostMouse(TEventKind::MouseMove, window_, handle_, p.x(), p.y(),
                  MouseButtons(event->buttons()), Modifiers(event->modifiers()));
}

// ---- TQtCanvas -----------------------------------------------------------------

TQtCanvas::TQtCanvas(TQtSink& sink, THandle window, THandle handle, QWidget* parent)
    : QWidget(parent), sink_(sink), window_(window), handle_(handle) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TQtCanvas::ResizeBuffers(int width, int height) {
  back = QImage(qMax(1, width), qMax(1, height), QImage::Format_RGB32);
  back.fill(Qt::black);
  shown = back;
}

void TQtCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(0, 0, shown);
}

void TQtCanvas::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint p = event->position().toPoint();
  sink_.PostMouse(TEventKind::MouseDown, window_, handle_, p.x(), p.y(),
                  MouseButtons(event->button()), Modifiers(event->modifiers()));
}

void TQtCanvas::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  sink_.PostMouse(TEventKind::MouseUp, window_, handle_, p.x(), p.y(),
                  MouseButtons(event->button()), Modifiers(event->modifiers()));
}

void TQtCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  sink_.PostMouse(TEventKind::MouseMove, window_, handle_, p.x(), p.y(),
                  MouseButtons(event->buttons()), Modifiers(event->modifiers()));
}

void TQtCanvas::enterEvent(QEnterEvent*) {
  sink_.PostMouse(TEventKind::MouseEnter, window_, handle_, 0, 0, 0, 0);
}

void TQtCanvas::leaveEvent(QEvent*) {
  sink_.PostMouse(TEventKind::MouseLeave, window_, handle_, 0, 0, 0, 0);
}

void TQtCanvas::keyPressEvent(QKeyEvent* event) {
  if (!sink_.PostKey(event, window_, handle_, true)) QWidget::keyPressEvent(event);
}

void TQtCanvas::keyReleaseEvent(QKeyEvent* event) {
  if (!sink_.PostKey(event, window_, handle_, false)) QWidget::keyReleaseEvent(event);
}

// ---- TQtLineEdit ---------------------------------------------------------------

TQtLineEdit::TQtLineEdit(TQtSink& sink, THandle window, THandle handle, QWidget* parent)
    : QLineEdit(parent), sink_(sink), window_(window), handle_(handle) {}

void TQtLineEdit::focusOutEvent(QFocusEvent* event) {
  // A popup (a menu, the field's own context menu) takes the focus only
  // for a moment; everything else means the user left the field.
  if (event->reason() != Qt::PopupFocusReason)
    sink_.Post(TEventKind::FocusLost, window_, handle_, 0, ToLatin1(text()));
  QLineEdit::focusOutEvent(event);
}

}  // namespace ork
