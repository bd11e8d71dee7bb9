// The Qt back end's gadgets: creation, the calls on any gadget, lists,
// pictures, the canvas and the dialogs.
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSlider>
#include <QtWidgets/QToolBar>

#include <algorithm>

#include "gui/qt/qt_gui.h"
#include "gui/qt/qt_state.h"

namespace ork {

namespace {

class TQuiet {
 public:
  explicit TQuiet(TQtSink& sink) : sink_(sink) { ++sink_.quiet; }
  ~TQuiet() { --sink_.quiet; }

 private:
  TQtSink& sink_;
};

QImage OpaqueImage(const std::uint32_t* argb, int width, int height) {
  if (!argb || width <= 0 || height <= 0) return {};
  return QImage(reinterpret_cast<const uchar*>(argb), width, height, width * 4,
                QImage::Format_RGB32)
      .copy();
}

QColor ColorOf(std::uint32_t argb) { return QColor::fromRgb(argb & 0x00FFFFFFu); }

QString HexColor(std::uint32_t argb) {
  return QString("#%1").arg(argb & 0x00FFFFFFu, 6, 16, QLatin1Char('0'));
}

Qt::CursorShape CursorOf(TPointer pointer) {
  switch (pointer) {
    case TPointer::Cross: return Qt::CrossCursor;
    case TPointer::Wait: return Qt::WaitCursor;
    case TPointer::Hand: return Qt::PointingHandCursor;
    case TPointer::Text: return Qt::IBeamCursor;
    case TPointer::Arrow: break;
  }
  return Qt::ArrowCursor;
}

QRect GroupInside(const QGroupBox* box) {
  const int top = box->fontMetrics().height();
  return QRect(1, top, qMax(0, box->width() - 2), qMax(0, box->height() - top - 1));
}

class TGroupFitter : public QObject {
 public:
  TGroupFitter(QGroupBox* box, QWidget* inside) : QObject(box), box_(box), inside_(inside) {
    box->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == box_ && event->type() == QEvent::Resize) inside_->setGeometry(GroupInside(box_));
    return false;
  }

 private:
  QGroupBox* box_;
  QWidget* inside_;
};

TQtItem* Lookup(TQtState& state, THandle handle) {
  auto it = state.items.find(handle);
  return it == state.items.end() || !it->second.widget ? nullptr : &it->second;
}

// The widget gadgets of `parent` lie in, and the window it belongs to.
QWidget* Container(TQtState& state, THandle parent, THandle& window) {
  TQtItem* item = Lookup(state, parent);
  if (!item || (item->kind != TGadgetKind::Window && item->kind != TGadgetKind::Panel) ||
      !item->client)
    return nullptr;
  window = item->window;
  return item->client;
}

THandle Register(TQtState& state, THandle id, TGadgetKind kind, THandle window, THandle parent,
                 QWidget* widget, int x, int y, int width, int height) {
  widget->setGeometry(x, y, qMax(0, width), qMax(0, height));
  widget->show();
  TQtItem item;
  item.kind = kind;
  item.window = window;
  item.parent = parent;
  item.widget = widget;
  state.items.emplace(id, item);
  return id;
}

void ApplyStyle(TQtItem& item) {
  QString sheet;
  if (!item.textColor.empty()) sheet += QString::fromStdString(item.textColor);
  if (!item.backColor.empty()) sheet += QString::fromStdString(item.backColor);
  item.widget->setStyleSheet(sheet);
}

TQtCanvas* CanvasOf(TQtState& state, THandle handle) {
  TQtItem* item = Lookup(state, handle);
  return item && item->kind == TGadgetKind::Canvas ? static_cast<TQtCanvas*>(item->widget.data())
                                                   : nullptr;
}

QWidget* DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

}  // namespace

// ---- Creating gadgets ----------------------------------------------------------

THandle TQtGui::CreatePanel(THandle parent, int x, int y, int width, int height,
                            const std::string& title, bool frame) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  if (!frame) {
    auto* area = new TQtPicture(*state_->sink, window, id, into);
    area->setAccessibleName(FromLatin1(title));
    Register(*state_, id, TGadgetKind::Panel, window, parent, area, x, y, width, height);
    state_->items.at(id).client = area;
    return id;
  }
  auto* box = new QGroupBox(FromLatin1(title), into);
  auto* inside = new TQtPicture(*state_->sink, window, id, box);
  new TGroupFitter(box, inside);
  Register(*state_, id, TGadgetKind::Panel, window, parent, box, x, y, width, height);
  inside->setGeometry(GroupInside(box));
  inside->show();
  state_->items.at(id).client = inside;
  return id;
}

THandle TQtGui::CreateLabel(THandle parent, int x, int y, int width, int height,
                            const std::string& text) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  auto* label = new QLabel(FromLatin1(text), into);
  label->setTextFormat(Qt::PlainText);
  return Register(*state_, id, TGadgetKind::Label, window, parent, label, x, y, width, height);
}

THandle TQtGui::CreateTextField(THandle parent, int x, int y, int width, int height,
                                const std::string& text) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  auto* field = new TQtLineEdit(*state_->sink, window, id, into);
  field->setText(FromLatin1(text));
  TQtSink* sink = state_->sink.get();
  QObject::connect(field, &QLineEdit::textEdited, field, [sink, window, id](const QString& t) {
    sink->Post(TEventKind::TextChanged, window, id, 0, ToLatin1(t));
  });
  QObject::connect(field, &QLineEdit::returnPressed, field, [sink, window, id, field] {
    sink->Post(TEventKind::TextEnter, window, id, 0, ToLatin1(field->text()));
  });
  return Register(*state_, id, TGadgetKind::TextField, window, parent, field, x, y, width, height);
}

THandle TQtGui::CreateButton(THandle parent, int x, int y, int width, int height,
                             const std::string& text, TButtonKind kind) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  auto* button = new QPushButton(FromLatin1(text), into);
  button->setAutoDefault(false);
  TQtSink* sink = state_->sink.get();
  QObject::connect(button, &QPushButton::clicked, button,
                   [sink, window, id] { sink->Post(TEventKind::Gadget, window, id); });
  auto* w = static_cast<TQtWindow*>(state_->items.at(window).widget.data());
  if (kind == TButtonKind::DefaultOk) {
    button->setDefault(true);
    w->defaultButton = id;
  } else if (kind == TButtonKind::Cancel) {
    w->cancelButton = id;
  }
  return Register(*state_, id, TGadgetKind::Button, window, parent, button, x, y, width, height);
}

THandle TQtGui::CreateCheckBox(THandle parent, int x, int y, int width, int height,
                               const std::string& text, bool checked) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  auto* box = new QCheckBox(FromLatin1(text), into);
  box->setChecked(checked);
  TQtSink* sink = state_->sink.get();
  QObject::connect(box, &QCheckBox::clicked, box, [sink, window, id](bool on) {
    sink->Post(TEventKind::Gadget, window, id, on ? 1 : 0);
  });
  return Register(*state_, id, TGadgetKind::CheckBox, window, parent, box, x, y, width, height);
}

THandle TQtGui::CreateListBox(THandle parent, int x, int y, int width, int height) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  auto* list = new QListWidget(into);
  TQtSink* sink = state_->sink.get();
  TQtState* state = state_.get();
  QObject::connect(list, &QListWidget::currentRowChanged, list, [sink, state, window, id](int row) {
    if (row < 0) return;
    const auto& attached = state->items.at(id).attached;
    sink->Post(TEventKind::Gadget, window, id, row,
               row < static_cast<int>(attached.size()) ? attached[row] : std::string());
  });
  return Register(*state_, id, TGadgetKind::ListBox, window, parent, list, x, y, width, height);
}

THandle TQtGui::CreateComboBox(THandle parent, int x, int y, int width, int height) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  auto* combo = new QComboBox(into);
  TQtSink* sink = state_->sink.get();
  TQtState* state = state_.get();
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                   [sink, state, window, id](int row) {
                     if (row < 0) return;
                     const auto& attached = state->items.at(id).attached;
                     sink->Post(TEventKind::Gadget, window, id, row,
                                row < static_cast<int>(attached.size()) ? attached[row]
                                                                        : std::string());
                   });
  return Register(*state_, id, TGadgetKind::ComboBox, window, parent, combo, x, y, width, height);
}

THandle TQtGui::CreateSlider(THandle parent, int x, int y, int width, int height, int minimum,
                             int maximum) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  auto* slider = new QSlider(Qt::Horizontal, into);
  slider->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
  TQtSink* sink = state_->sink.get();
  QObject::connect(slider, &QSlider::valueChanged, slider, [sink, window, id](int value) {
    sink->Post(TEventKind::Gadget, window, id, value);
  });
  return Register(*state_, id, TGadgetKind::Slider, window, parent, slider, x, y, width, height);
}

THandle TQtGui::CreateCanvas(THandle parent, int x, int y, int width, int height) {
  THandle window = 0;
  QWidget* into = Container(*state_, parent, window);
  if (!into) return 0;
  const THandle id = state_->next++;
  auto* canvas = new TQtCanvas(*state_->sink, window, id, into);
  canvas->ResizeBuffers(width, height);
  return Register(*state_, id, TGadgetKind::Canvas, window, parent, canvas, x, y, width, height);
}

// ---- Any gadget ----------------------------------------------------------------

void TQtGui::Destroy(THandle handle) {
  auto it = state_->items.find(handle);
  if (it == state_->items.end()) return;
  // Everything below the handle goes: gadgets inside it, for a window also
  // its menus, its toolbar and the windows it owns.
  std::vector<THandle> doomed{handle};
  for (size_t i = 0; i < doomed.size(); ++i)
    for (const auto& [id, item] : state_->items)
      if (item.parent == doomed[i] && id != doomed[i]) doomed.push_back(id);
  const bool isWindow = it->second.kind == TGadgetKind::Window;
  QPointer<QWidget> widget = it->second.widget;
  if (isWindow) {
    for (auto m = state_->menus.begin(); m != state_->menus.end();)
      m = m->second.window == handle ? state_->menus.erase(m) : std::next(m);
  }
  for (auto& [id, item] : state_->items) {
    if (std::find(doomed.begin(), doomed.end(), item.window) == doomed.end()) continue;
    if (TQtWindow* w = item.kind == TGadgetKind::Window
                           ? static_cast<TQtWindow*>(item.widget.data())
                           : nullptr) {
      if (w->defaultButton == handle) w->defaultButton = 0;
      if (w->cancelButton == handle) w->cancelButton = 0;
    }
  }
  for (THandle id : doomed) state_->items.erase(id);
  if (widget) {
    if (isWindow) static_cast<TQtWindow*>(widget.data())->closing = true;
    delete widget.data();
  }
}

TGadgetKind TQtGui::KindOf(THandle handle) const {
  const TQtItem* item = Lookup(*state_, handle);
  return item ? item->kind : TGadgetKind::None;
}

THandle TQtGui::WindowOf(THandle handle) const {
  const TQtItem* item = Lookup(*state_, handle);
  return item ? item->window : 0;
}

void TQtGui::SetText(THandle handle, const std::string& text) {
  TQtItem* item = Lookup(*state_, handle);
  if (!item) return;
  TQuiet quiet(*state_->sink);
  const QString t = FromLatin1(text);
  QWidget* w = item->widget;
  switch (item->kind) {
    case TGadgetKind::Window: w->setWindowTitle(t); break;
    case TGadgetKind::Panel:
      if (auto* box = qobject_cast<QGroupBox*>(w)) box->setTitle(t);
      else w->setAccessibleName(t);
      break;
    case TGadgetKind::Label: static_cast<QLabel*>(w)->setText(t); break;
    case TGadgetKind::TextField: static_cast<QLineEdit*>(w)->setText(t); break;
    case TGadgetKind::Button: static_cast<QPushButton*>(w)->setText(t); break;
    case TGadgetKind::CheckBox: static_cast<QCheckBox*>(w)->setText(t); break;
    case TGadgetKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(w);
      const int at = combo->findText(t);
      if (at >= 0) combo->setCurrentIndex(at);
      break;
    }
    default: break;
  }
}

std::string TQtGui::GetText(THandle handle) const {
  const TQtItem* item = Lookup(*state_, handle);
  if (!item) return {};
  QWidget* w = item->widget;
  switch (item->kind) {
    case TGadgetKind::Window: return ToLatin1(w->windowTitle());
    case TGadgetKind::Panel:
      if (auto* box = qobject_cast<QGroupBox*>(w)) return ToLatin1(box->title());
      return ToLatin1(w->accessibleName());
    case TGadgetKind::Label: return ToLatin1(static_cast<QLabel*>(w)->text());
    case TGadgetKind::TextField: return ToLatin1(static_cast<QLineEdit*>(w)->text());
    case TGadgetKind::Button: return ToLatin1(static_cast<QPushButton*>(w)->text());
    case TGadgetKind::CheckBox: return ToLatin1(static_cast<QCheckBox*>(w)->text());
    case TGadgetKind::ComboBox: return ToLatin1(static_cast<QComboBox*>(w)->currentText());
    case TGadgetKind::ListBox: {
      const QListWidgetItem* current = static_cast<QListWidget*>(w)->currentItem();
      return current ? ToLatin1(current->text()) : std::string();
    }
    default: return {};
  }
}

void TQtGui::SetState(THandle handle, int state) {
  TQtItem* item = Lookup(*state_, handle);
  if (!item) return;
  TQuiet quiet(*state_->sink);
  QWidget* w = item->widget;
  switch (item->kind) {
    case TGadgetKind::CheckBox: static_cast<QCheckBox*>(w)->setChecked(state != 0); break;
    case TGadgetKind::Slider: static_cast<QSlider*>(w)->setValue(state); break;
    case TGadgetKind::ListBox: {
      auto* list = static_cast<QListWidget*>(w);
      list->setCurrentRow(state >= 0 && state < list->count() ? state : -1);
      break;
    }
    case TGadgetKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(w);
      combo->setCurrentIndex(state >= 0 && state < combo->count() ? state : -1);
      break;
    }
    default: break;
  }
}

int TQtGui::GetState(THandle handle) const {
  const TQtItem* item = Lookup(*state_, handle);
  if (!item) return 0;
  QWidget* w = item->widget;
  switch (item->kind) {
    case TGadgetKind::CheckBox: return static_cast<QCheckBox*>(w)->isChecked() ? 1 : 0;
    case TGadgetKind::Slider: return static_cast<QSlider*>(w)->value();
    case TGadgetKind::ListBox: return static_cast<QListWidget*>(w)->currentRow();
    case TGadgetKind::ComboBox: return static_cast<QComboBox*>(w)->currentIndex();
    default: return 0;
  }
}

void TQtGui::SetRange(THandle slider, int minimum, int maximum) {
  TQtItem* item = Lookup(*state_, slider);
  if (!item || item->kind != TGadgetKind::Slider) return;
  TQuiet quiet(*state_->sink);
  static_cast<QSlider*>(item->widget.data())
      ->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
}

void TQtGui::EnableGadget(THandle handle, bool enabled) {
  if (TQtItem* item = Lookup(*state_, handle)) item->widget->setEnabled(enabled);
}

bool TQtGui::GadgetEnabled(THandle handle) const {
  const TQtItem* item = Lookup(*state_, handle);
  return item && item->widget->isEnabled();
}

void TQtGui::ShowGadget(THandle handle, bool visible) {
  TQtItem* item = Lookup(*state_, handle);
  if (!item) return;
  if (item->kind == TGadgetKind::Toolbar) {
    // A toolbar shown or hidden keeps the client area's size, except in a
    // maximised window: that keeps its frame, and the client area takes
    // the toolbar's room or gives it (reported as a WindowSize).
    const QWidget* window = state_->items.at(item->window).widget;
    const bool keepsFrame = window && (window->isMaximized() || window->isFullScreen());
    const TSize client = ClientSize(item->window);
    item->widget->setVisible(visible);
    if (!keepsFrame) SetClientSize(item->window, client.width, client.height);
    return;
  }
  item->widget->setVisible(visible);
  if (item->kind == TGadgetKind::Window && visible) {
    auto* w = static_cast<TQtWindow*>(item->widget.data());
    if (w->pendingClient.isValid()) {
      const QSize client = w->pendingClient;
      w->pendingClient = QSize();
      SetClientSize(handle, client.width(), client.height());
    }
  }
}

void TQtGui::ResizeGadget(THandle handle, int x, int y, int width, int height) {
  TQtItem* item = Lookup(*state_, handle);
  if (!item) return;
  QWidget* w = item->widget;
  if (item->kind == TGadgetKind::Window) {
    const QRect frame = w->frameGeometry();
    const int dw = frame.width() - w->width(), dh = frame.height() - w->height();
    const QSize size(qMax(1, width - dw), qMax(1, height - dh));
    if (!(static_cast<TQtWindow*>(w)->flags() & kWinResizable)) w->setFixedSize(size);
    w->resize(size);
    w->move(x, y);
    return;
  }
  w->setGeometry(x, y, qMax(0, width), qMax(0, height));
  if (item->kind == TGadgetKind::Canvas) static_cast<TQtCanvas*>(w)->ResizeBuffers(width, height);
}

TRect TQtGui::Geometry(THandle handle) const {
  const TQtItem* item = Lookup(*state_, handle);
  if (!item) return {};
  const QRect r = item->kind == TGadgetKind::Window ? item->widget->frameGeometry()
                                                    : item->widget->geometry();
  return {r.x(), r.y(), r.width(), r.height()};
}

void TQtGui::SetFocus(THandle handle) {
  TQtItem* item = Lookup(*state_, handle);
  if (!item) return;
  QWidget* window = state_->items.count(item->window) ? state_->items.at(item->window).widget.data()
                                                       : nullptr;
  if (window) {
    window->raise();
    window->activateWindow();
  }
  if (item->kind != TGadgetKind::Window) item->widget->setFocus(Qt::OtherFocusReason);
}

void TQtGui::SetToolTip(THandle handle, const std::string& text) {
  if (TQtItem* item = Lookup(*state_, handle)) item->widget->setToolTip(FromLatin1(text));
}

void TQtGui::SetTextColor(THandle handle, std::uint32_t argb) {
  TQtItem* item = Lookup(*state_, handle);
  if (!item) return;
  item->textColor = "color: " + HexColor(argb).toStdString() + ";";
  ApplyStyle(*item);
}

void TQtGui::SetBackColor(THandle handle, std::uint32_t argb) {
  TQtItem* item = Lookup(*state_, handle);
  if (!item) return;
  item->backColor = "background-color: " + HexColor(argb).toStdString() + ";";
  ApplyStyle(*item);
}

void TQtGui::SetPointer(THandle handle, TPointer pointer) {
  if (handle == 0) {
    if (state_->overrideCursor) QApplication::restoreOverrideCursor();
    state_->overrideCursor = pointer != TPointer::Arrow;
    if (state_->overrideCursor) QApplication::setOverrideCursor(QCursor(CursorOf(pointer)));
    return;
  }
  if (TQtItem* item = Lookup(*state_, handle)) item->widget->setCursor(CursorOf(pointer));
}

// ---- Lists ---------------------------------------------------------------------

void TQtGui::AddItem(THandle list, const std::string& text, const std::string& attached) {
  TQtItem* item = Lookup(*state_, list);
  if (!item) return;
  TQuiet quiet(*state_->sink);
  if (item->kind == TGadgetKind::ListBox) {
    static_cast<QListWidget*>(item->widget.data())->addItem(FromLatin1(text));
  } else if (item->kind == TGadgetKind::ComboBox) {
    static_cast<QComboBox*>(item->widget.data())->addItem(FromLatin1(text));
  } else {
    return;
  }
  item->attached.push_back(attached);
}

void TQtGui::ClearItems(THandle list) {
  TQtItem* item = Lookup(*state_, list);
  if (!item) return;
  TQuiet quiet(*state_->sink);
  if (item->kind == TGadgetKind::ListBox)
    static_cast<QListWidget*>(item->widget.data())->clear();
  else if (item->kind == TGadgetKind::ComboBox)
    static_cast<QComboBox*>(item->widget.data())->clear();
  item->attached.clear();
}

int TQtGui::ItemCount(THandle list) const {
  const TQtItem* item = Lookup(*state_, list);
  if (!item) return 0;
  if (item->kind == TGadgetKind::ListBox) return static_cast<QListWidget*>(item->widget.data())->count();
  if (item->kind == TGadgetKind::ComboBox) return static_cast<QComboBox*>(item->widget.data())->count();
  return 0;
}

std::string TQtGui::ItemText(THandle list, int index) const {
  const TQtItem* item = Lookup(*state_, list);
  if (!item || index < 0 || index >= ItemCount(list)) return {};
  if (item->kind == TGadgetKind::ListBox)
    return ToLatin1(static_cast<QListWidget*>(item->widget.data())->item(index)->text());
  return ToLatin1(static_cast<QComboBox*>(item->widget.data())->itemText(index));
}

std::string TQtGui::ItemAttached(THandle list, int index) const {
  const TQtItem* item = Lookup(*state_, list);
  if (!item || index < 0 || index >= static_cast<int>(item->attached.size())) return {};
  return item->attached[index];
}

// ---- Pictures and canvas ---------------------------------------------------------

void TQtGui::SetPanelPixmap(THandle panel, const std::uint32_t* argb, int width, int height) {
  TQtItem* item = Lookup(*state_, panel);
  if (!item || item->kind != TGadgetKind::Panel || !item->client) return;
  static_cast<TQtPicture*>(item->client.data())->SetPicture(OpaqueImage(argb, width, height));
}

void TQtGui::CanvasClear(THandle canvas, std::uint32_t argb) {
  if (TQtCanvas* c = CanvasOf(*state_, canvas)) c->back.fill(ColorOf(argb));
}

void TQtGui::CanvasLine(THandle canvas, int x0, int y0, int x1, int y1, std::uint32_t argb,
                        int lineWidth) {
  TQtCanvas* c = CanvasOf(*state_, canvas);
  if (!c) return;
  QPainter painter(&c->back);
  painter.setPen(QPen(ColorOf(argb), qMax(1, lineWidth), Qt::SolidLine, Qt::SquareCap));
  painter.drawLine(x0, y0, x1, y1);
}

void TQtGui::CanvasText(THandle canvas, int x, int y, const std::string& text,
                        std::uint32_t argb) {
  TQtCanvas* c = CanvasOf(*state_, canvas);
  if (!c) return;
  QPainter painter(&c->back);
  painter.setPen(ColorOf(argb));
  painter.drawText(QRect(x, y, c->back.width(), c->back.height()), Qt::AlignLeft | Qt::AlignTop,
                   FromLatin1(text));
}

void TQtGui::CanvasPixmap(THandle canvas, int x, int y, const std::uint32_t* argb, int width,
                          int height) {
  TQtCanvas* c = CanvasOf(*state_, canvas);
  if (!c) return;
  const QImage image = OpaqueImage(argb, width, height);
  if (image.isNull()) return;
  QPainter painter(&c->back);
  painter.drawImage(x, y, image);
}

void TQtGui::CanvasPresent(THandle canvas) {
  TQtCanvas* c = CanvasOf(*state_, canvas);
  if (!c) return;
  c->shown = c->back.copy();
  c->update();
}

std::uint32_t TQtGui::ShownPixel(THandle canvas, int x, int y) const {
  TQtCanvas* c = CanvasOf(*state_, canvas);
  if (!c || !c->shown.valid(x, y)) return 0;
  return c->shown.pixel(x, y);
}

// ---- Dialogs -------------------------------------------------------------------

void TQtGui::MessageBox(const std::string& title, const std::string& text) {
  QMessageBox::information(DialogParent(), FromLatin1(title), FromLatin1(text), QMessageBox::Ok);
}

bool TQtGui::Question(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Question, FromLatin1(title), FromLatin1(text),
                  QMessageBox::Ok | QMessageBox::Cancel, DialogParent());
  box.setDefaultButton(QMessageBox::Ok);
  if (!CancelText().empty()) box.button(QMessageBox::Cancel)->setText(FromLatin1(CancelText()));
  return box.exec() == QMessageBox::Ok;
}

std::string TQtGui::FileRequester(const std::string& title, const std::string& path,
                                  const std::string& pattern, bool save) {
  QString filter = FromLatin1(pattern);
  filter.replace(QLatin1Char('|'), QLatin1String(";;"));
  const QString chosen =
      save ? QFileDialog::getSaveFileName(DialogParent(), FromLatin1(title), FromLatin1(path), filter)
           : QFileDialog::getOpenFileName(DialogParent(), FromLatin1(title), FromLatin1(path), filter);
  return ToLatin1(chosen);
}

bool TQtGui::OpenUrl(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(FromLatin1(url)));
}

}  // namespace ork
