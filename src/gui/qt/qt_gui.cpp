#include "gui/qt/qt_gui.h"

#include <QtCore/QLibraryInfo>
#include <QtCore/QLocale>
#include <QtGui/QGuiApplication>
#include <QtGui/QImageReader>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QToolBar>

#include "gui/qt/qt_state.h"

namespace ork {

namespace {

QImage ImageOf(const std::uint32_t* argb, int width, int height, QImage::Format format) {
  if (!argb || width <= 0 || height <= 0) return {};
  return QImage(reinterpret_cast<const uchar*>(argb), width, height, width * 4, format).copy();
}

TQtWindow* WindowWidget(const TQtItem* item) {
  return item && item->kind == TGadgetKind::Window ? static_cast<TQtWindow*>(item->widget.data())
                                                   : nullptr;
}

}  // namespace

TQtGui::TQtGui(int& argc, char** argv) : state_(std::make_unique<TQtState>()) {
  if (!QApplication::instance()) state_->app = std::make_unique<QApplication>(argc, argv);
  state_->sink = std::make_unique<TQtSink>(*this);
}

TQtGui::~TQtGui() {
  std::vector<THandle> windows;
  for (const auto& [id, item] : state_->items)
    if (item.kind == TGadgetKind::Window && item.parent == 0) windows.push_back(id);
  for (THandle w : windows) Destroy(w);
  if (state_->overrideCursor) QApplication::restoreOverrideCursor();
}

void TQtGui::Pump(bool wait) {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

// ---- Windows -------------------------------------------------------------------

THandle TQtGui::CreateWindow(const std::string& title, int x, int y, int width, int height,
                             int flags, THandle parent) {
  TQtWindow* parentWindow = WindowWidget(
      state_->items.count(parent) ? &state_->items.at(parent) : nullptr);
  const THandle id = state_->next++;
  auto* window = new TQtWindow(*state_->sink, id, flags, parentWindow);
  window->setWindowTitle(FromLatin1(title));
  if (flags & kWinMenuBar) window->menuBar()->setNativeMenuBar(false);
  if (flags & kWinStatusLine) window->statusBar();
  TQtItem item;
  item.kind = TGadgetKind::Window;
  item.window = id;
  item.parent = parentWindow ? parent : 0;
  item.widget = window;
  item.client = window->Client();
  state_->items.emplace(id, item);

  // Outer sizes include the title bar, which Qt knows only once shown; the
  // menu bar and status line are taken off here.
  const int clientHeight = (flags & kWinClientSize) ? height : height - window->ChromeHeight();
  window->resize(qMax(1, width), qMax(1, clientHeight) + window->ChromeHeight());
  if (flags & kWinCentered) {
    const TSize desk = DesktopSize();
    x = (desk.width - window->width()) / 2;
    y = (desk.height - window->height()) / 2;
  }
  window->move(x, y);
  if (!(flags & kWinResizable)) window->setFixedSize(window->size());
  // The heights of menu bar and status line are known for sure only once
  // the window is laid out, so the client size is applied again on showing.
  window->pendingClient = QSize(qMax(1, width), qMax(1, clientHeight));
  if (!(flags & kWinHidden)) ShowGadget(id, true);
  return id;
}

void TQtGui::SetMinimumSize(THandle window, int width, int height) {
  auto it = state_->items.find(window);
  if (TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second))
    w->setMinimumSize(width, height);
}

void TQtGui::MaximizeWindow(THandle window) {
  auto it = state_->items.find(window);
  if (TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second))
    w->Maximize();
}

void TQtGui::SetClientSize(THandle window, int width, int height) {
  auto it = state_->items.find(window);
  TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second);
  if (w) w->RequestClient(QSize(qMax(1, width), qMax(1, height)));
}

TSize TQtGui::ClientSize(THandle window) const {
  auto it = state_->items.find(window);
  TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second);
  if (!w) return {};
  const QSize size = w->ClientArea();
  return {size.width(), size.height()};
}

TRect TQtGui::ClientScreenRect(THandle window) const {
  auto it = state_->items.find(window);
  TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second);
  if (!w) return {};
  const QPoint origin = w->Client()->mapToGlobal(QPoint(0, 0));
  const QSize size = w->ClientArea();
  return {origin.x(), origin.y(), size.width(), size.height()};
}

void TQtGui::SetStatusText(THandle window, const std::string& text) {
  auto it = state_->items.find(window);
  TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second);
  if (w && (w->flags() & kWinStatusLine)) w->statusBar()->showMessage(FromLatin1(text));
}

bool TQtGui::StatusTextFits(THandle window, const std::string& text) const {
  auto it = state_->items.find(window);
  TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second);
  if (!w || !(w->flags() & kWinStatusLine)) return true;
  QStatusBar* bar = w->statusBar();
  // The message is drawn inside the bar's margins, left of a size grip.
  const int room = w->ClientArea().width() - 16 - (bar->isSizeGripEnabled() ? 16 : 0);
  return bar->fontMetrics().horizontalAdvance(FromLatin1(text)) <= room;
}

void TQtGui::SetDialogLanguage(const std::string& code) {
  TGui::SetDialogLanguage(code);
  if (state_->translator) {
    QCoreApplication::removeTranslator(state_->translator.get());
    state_->translator.reset();
  }
  const QString name = QString::fromStdString(code);
  QLocale::setDefault(QLocale(name));
  if (code == "en") return;
  auto translator = std::make_unique<QTranslator>();
  if (translator->load("qtbase_" + name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      QCoreApplication::installTranslator(translator.get()))
    state_->translator = std::move(translator);
}

TSize TQtGui::DesktopSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {1024, 768};
  const QRect r = screen->availableGeometry();
  return {r.width(), r.height()};
}

// ---- Menus ---------------------------------------------------------------------

THandle TQtGui::CreateMenu(THandle window, const std::string& text, int command) {
  auto it = state_->items.find(window);
  TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second);
  if (!w || !(w->flags() & kWinMenuBar)) return 0;
  return AddMenu(w->menuBar()->addMenu(FromLatin1(text)), window, 0, command);
}

THandle TQtGui::CreateSubMenu(THandle menu, const std::string& text, int command) {
  auto it = state_->menus.find(menu);
  if (it == state_->menus.end() || !it->second.isMenu || !it->second.menu) return 0;
  return AddMenu(it->second.menu->addMenu(FromLatin1(text)), it->second.window, menu, command);
}

THandle TQtGui::AddMenu(QMenu* menu, THandle window, THandle parent, int command) {
  const THandle id = state_->next++;
  TQtMenu m;
  m.window = window;
  m.parent = parent;
  m.menu = menu;
  m.action = menu->menuAction();
  m.command = command;
  m.isMenu = true;
  state_->menus.emplace(id, m);
  if (command != 0)
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [this, command, window] { PostCommand(command, window); });
  return id;
}

THandle TQtGui::AddMenuItem(THandle menu, const std::string& text, int command) {
  auto it = state_->menus.find(menu);
  if (it == state_->menus.end() || !it->second.isMenu || !it->second.menu) return 0;
  const THandle window = it->second.window;
  QMenu* parent = it->second.menu;
  const THandle id = state_->next++;
  TQtMenu m;
  m.window = window;
  m.parent = menu;
  if (text.empty()) {
    m.action = parent->addSeparator();
  } else {
    m.action = parent->addAction(FromLatin1(text));
    m.command = command;
    QObject::connect(m.action, &QAction::triggered, m.action,
                     [this, command, window] { PostCommand(command, window); });
  }
  state_->menus.emplace(id, m);
  return id;
}

void TQtGui::EnableMenu(THandle menuOrItem, bool enabled) {
  auto it = state_->menus.find(menuOrItem);
  if (it == state_->menus.end()) return;
  if (it->second.menu) it->second.menu->setEnabled(enabled);
  if (it->second.action) it->second.action->setEnabled(enabled);
}

void TQtGui::CheckMenuItem(THandle item, bool checked) {
  auto it = state_->menus.find(item);
  if (it == state_->menus.end() || it->second.isMenu || it->second.command == 0) return;
  it->second.action->setCheckable(true);
  it->second.action->setChecked(checked);
}

bool TQtGui::MenuItemChecked(THandle item) const {
  auto it = state_->menus.find(item);
  return it != state_->menus.end() && it->second.action && it->second.action->isChecked();
}

bool TQtGui::MenuEnabled(THandle menuOrItem) const {
  auto it = state_->menus.find(menuOrItem);
  return it != state_->menus.end() && it->second.action && it->second.action->isEnabled();
}

THandle TQtGui::FindMenuItem(THandle window, int command) const {
  for (const auto& [id, m] : state_->menus)
    if (m.window == window && !m.isMenu && m.command == command && command != 0) return id;
  return 0;
}

std::string TQtGui::MenuText(THandle menuOrItem) const {
  auto it = state_->menus.find(menuOrItem);
  if (it == state_->menus.end() || !it->second.action) return {};
  return ToLatin1(it->second.action->text());
}

// ---- Toolbar -------------------------------------------------------------------

THandle TQtGui::CreateToolbar(THandle window, const std::uint32_t* argb, int width,
                              int height) {
  auto it = state_->items.find(window);
  TQtWindow* w = WindowWidget(it == state_->items.end() ? nullptr : &it->second);
  if (!w) return 0;
  // Keep the client area's size: the toolbar takes its room from above.
  const TSize client = ClientSize(window);
  auto* bar = new QToolBar(w);
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  const THandle id = state_->next++;
  TQtItem item;
  item.kind = TGadgetKind::Toolbar;
  item.window = window;
  item.parent = window;
  item.widget = bar;
  const QImage strip = ImageOf(argb, width, height, QImage::Format_ARGB32);
  if (!strip.isNull()) {
    bar->setIconSize(QSize(height, height));
    for (int i = 0; i + height <= width; i += height) {
      QAction* action = bar->addAction(QIcon(QPixmap::fromImage(strip.copy(i, 0, height, height))), QString());
      const int index = static_cast<int>(item.actions.size());
      QObject::connect(action, &QAction::triggered, action, [this, window, id, index] {
        state_->sink->Post(TEventKind::Gadget, window, id, index);
      });
      item.actions.push_back(action);
      item.commands.push_back(0);
    }
  }
  state_->items.emplace(id, item);
  w->addToolBar(Qt::TopToolBarArea, bar);
  bar->show();
  w->SetToolbar(bar);
  // A maximised window keeps its outer size; the client area gives way.
  if (!w->isMaximized()) SetClientSize(window, client.width, client.height);
  return id;
}

THandle TQtGui::CreateToolbarFromFile(THandle window, const std::string& pngPath) {
  // A strip of buttons is a few dozen pixels high and some hundred wide; a
  // file that declares more is not decoded.
  constexpr int kMostStripHeight = 256, kMostStripWidth = 16384;
  QImageReader reader(FromLatin1(pngPath));
  reader.setAllocationLimit(64);  // megabytes
  const QSize declared = reader.size();
  QImage image;
  if (declared.isValid() && declared.height() <= kMostStripHeight &&
      declared.width() <= kMostStripWidth) {
    image = reader.read().convertToFormat(QImage::Format_ARGB32);
  }
  if (image.isNull()) return CreateToolbar(window, nullptr, 0, 0);
  return CreateToolbar(window, reinterpret_cast<const std::uint32_t*>(image.constBits()),
                       image.width(), image.height());
}

void TQtGui::SetToolbarButton(THandle toolbar, int index, const std::string& tooltip,
                              int command) {
  auto it = state_->items.find(toolbar);
  if (it == state_->items.end() || it->second.kind != TGadgetKind::Toolbar) return;
  TQtItem& item = it->second;
  if (index < 0 || index >= static_cast<int>(item.actions.size())) return;
  item.actions[index]->setToolTip(FromLatin1(tooltip));
  item.commands[index] = command;
}

int TQtGui::ToolbarButtonCount(THandle toolbar) const {
  auto it = state_->items.find(toolbar);
  return it == state_->items.end() || it->second.kind != TGadgetKind::Toolbar
             ? 0
             : static_cast<int>(it->second.actions.size());
}

int TQtGui::ToolbarCommand(THandle toolbar, int index) const {
  auto it = state_->items.find(toolbar);
  if (it == state_->items.end() || it->second.kind != TGadgetKind::Toolbar) return 0;
  const auto& commands = it->second.commands;
  return index >= 0 && index < static_cast<int>(commands.size()) ? commands[index] : 0;
}

}  // namespace ork
