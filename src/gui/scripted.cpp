#include "gui/scripted.h"

#include <algorithm>

#include "gui/png_size.h"

namespace ork {

// ---- Bookkeeping -------------------------------------------------------------

TScriptedGadget* TScriptedGui::Find(THandle handle) {
  auto it = gadgets_.find(handle);
  return it == gadgets_.end() ? nullptr : &it->second;
}

const TScriptedGadget* TScriptedGui::FindConst(THandle handle) const {
  auto it = gadgets_.find(handle);
  return it == gadgets_.end() ? nullptr : &it->second;
}

TScriptedGadget* TScriptedGui::FindKind(THandle handle, TGadgetKind kind) {
  TScriptedGadget* g = Find(handle);
  return g && g->kind == kind ? g : nullptr;
}

TScriptedMenu* TScriptedGui::FindMenu(THandle handle) {
  auto it = menus_.find(handle);
  return it == menus_.end() ? nullptr : &it->second;
}

const TScriptedGadget* TScriptedGui::Gadget(THandle handle) const { return FindConst(handle); }

const TScriptedMenu* TScriptedGui::Menu(THandle handle) const {
  auto it = menus_.find(handle);
  return it == menus_.end() ? nullptr : &it->second;
}

THandle TScriptedGui::AddGadget(TGadgetKind kind, THandle parent, int x, int y, int width,
                                int height, const std::string& text) {
  TScriptedGadget* owner = Find(parent);
  if (!owner || (owner->kind != TGadgetKind::Window && owner->kind != TGadgetKind::Panel))
    return 0;
  TScriptedGadget g;
  g.id = next_++;
  g.kind = kind;
  g.parent = parent;
  g.window = owner->window;
  g.rect = {x, y, std::max(0, width), std::max(0, height)};
  g.text = text;
  owner->children.push_back(g.id);
  const THandle id = g.id;
  gadgets_.emplace(id, std::move(g));
  return id;
}

bool TScriptedGui::Usable(THandle handle) const {
  for (const TScriptedGadget* g = FindConst(handle); g; g = FindConst(g->parent)) {
    if (!g->enabled || !g->visible) return false;
    if (g->kind == TGadgetKind::Window) return true;
  }
  return false;
}

std::vector<THandle> TScriptedGui::Windows() const { return windowOrder_; }

THandle TScriptedGui::FindWindow(const std::string& title) const {
  for (THandle w : windowOrder_)
    if (FindConst(w)->text == title) return w;
  return 0;
}

void TScriptedGui::CollectGadgets(THandle within, TGadgetKind kind,
                                  std::vector<THandle>& out) const {
  const TScriptedGadget* g = FindConst(within);
  if (!g) return;
  for (THandle child : g->children) {
    const TScriptedGadget* c = FindConst(child);
    if (kind == TGadgetKind::None || c->kind == kind) out.push_back(child);
    CollectGadgets(child, kind, out);
  }
}

std::vector<THandle> TScriptedGui::FindGadgets(THandle within, TGadgetKind kind) const {
  std::vector<THandle> out;
  if (within) {
    CollectGadgets(within, kind, out);
  } else {
    for (THandle w : windowOrder_) CollectGadgets(w, kind, out);
  }
  return out;
}

THandle TScriptedGui::FindGadget(THandle within, TGadgetKind kind,
                                 const std::string& text) const {
  for (THandle h : FindGadgets(within, kind))
    if (FindConst(h)->text == text) return h;
  return 0;
}

std::vector<std::string> TScriptedGui::Messages() const {
  std::vector<std::string> out;
  for (const TDialogRecord& d : dialogs_)
    if (d.kind == TDialogRecord::Kind::Message) out.push_back(d.text);
  return out;
}

std::uint32_t TScriptedGui::ShownPixel(THandle canvas, int x, int y) const {
  const TScriptedGadget* g = FindConst(canvas);
  return g && g->kind == TGadgetKind::Canvas ? g->shown.Get(x, y) : 0;
}

// ---- Windows -------------------------------------------------------------------

THandle TScriptedGui::CreateWindow(const std::string& title, int x, int y, int width,
                                   int height, int flags, THandle parent) {
  TScriptedGadget g;
  g.id = next_++;
  g.kind = TGadgetKind::Window;
  g.parent = FindKind(parent, TGadgetKind::Window) ? parent : 0;
  g.window = g.id;
  width = std::max(0, width);
  height = std::max(0, height);
  if (flags & kWinCentered) {
    x = (desktop_.width - width) / 2;
    y = (desktop_.height - height) / 2;
  }
  g.rect = {x, y, width, height};
  g.text = title;
  g.flags = flags;
  g.visible = !(flags & kWinHidden);
  const THandle id = g.id;
  gadgets_.emplace(id, std::move(g));
  windowOrder_.push_back(id);
  if (!(flags & kWinHidden)) active_ = id;
  return id;
}

void TScriptedGui::SetMinimumSize(THandle window, int width, int height) {
  if (TScriptedGadget* g = FindKind(window, TGadgetKind::Window)) g->minimumSize = {width, height};
}

void TScriptedGui::MaximizeWindow(THandle window) {
  TScriptedGadget* g = FindKind(window, TGadgetKind::Window);
  if (!g) return;
  g->maximized = true;
  const bool changed = g->rect.width != desktop_.width || g->rect.height != desktop_.height;
  g->rect = {0, 0, desktop_.width, desktop_.height};
  if (changed && g->visible) QueueSize(window);
}

void TScriptedGui::SetClientSize(THandle window, int width, int height) {
  TScriptedGadget* g = FindKind(window, TGadgetKind::Window);
  if (!g) return;
  const TRect before = g->rect;
  g->rect.width = std::max({0, width, g->minimumSize.width});
  g->rect.height = std::max({0, height, g->minimumSize.height});
  if ((before.width != g->rect.width || before.height != g->rect.height) && g->visible)
    QueueSize(window);
}

TSize TScriptedGui::ClientSize(THandle window) const {
  const TScriptedGadget* g = FindConst(window);
  if (!g || g->kind != TGadgetKind::Window) return {};
  return {g->rect.width, g->rect.height};
}

TRect TScriptedGui::ClientScreenRect(THandle window) const {
  const TScriptedGadget* g = FindConst(window);
  return g && g->kind == TGadgetKind::Window ? g->rect : TRect{};
}

void TScriptedGui::SetStatusText(THandle window, const std::string& text) {
  if (TScriptedGadget* g = FindKind(window, TGadgetKind::Window)) g->statusText = text;
}

// ---- Menus ---------------------------------------------------------------------

THandle TScriptedGui::AddMenu(THandle window, THandle parent, const std::string& text,
                              int command, bool isMenu) {
  TScriptedMenu m;
  m.id = next_++;
  m.window = window;
  m.parent = parent;
  m.text = text;
  m.isMenu = isMenu;
  m.separator = !isMenu && text.empty();
  m.command = m.separator ? 0 : command;
  if (TScriptedMenu* p = FindMenu(parent)) p->children.push_back(m.id);
  const THandle id = m.id;
  menus_.emplace(id, std::move(m));
  return id;
}

THandle TScriptedGui::CreateMenu(THandle window, const std::string& text, int command) {
  TScriptedGadget* w = FindKind(window, TGadgetKind::Window);
  if (!w || !(w->flags & kWinMenuBar)) return 0;
  return AddMenu(window, 0, text, command, true);
}

THandle TScriptedGui::CreateSubMenu(THandle menu, const std::string& text, int command) {
  TScriptedMenu* m = FindMenu(menu);
  if (!m || !m->isMenu) return 0;
  return AddMenu(m->window, menu, text, command, true);
}

THandle TScriptedGui::AddMenuItem(THandle menu, const std::string& text, int command) {
  TScriptedMenu* m = FindMenu(menu);
  if (!m || !m->isMenu) return 0;
  return AddMenu(m->window, menu, text, command, false);
}

void TScriptedGui::EnableMenu(THandle menuOrItem, bool enabled) {
  if (TScriptedMenu* m = FindMenu(menuOrItem)) m->enabled = enabled;
}

void TScriptedGui::CheckMenuItem(THandle item, bool checked) {
  TScriptedMenu* m = FindMenu(item);
  if (m && !m->isMenu && !m->separator) m->checked = checked;
}

bool TScriptedGui::MenuItemChecked(THandle item) const {
  const TScriptedMenu* m = Menu(item);
  return m && m->checked;
}

bool TScriptedGui::MenuEnabled(THandle menuOrItem) const {
  const TScriptedMenu* m = Menu(menuOrItem);
  return m && m->enabled;
}

THandle TScriptedGui::FindMenuItem(THandle window, int command) const {
  for (const auto& [id, m] : menus_)
    if (m.window == window && !m.isMenu && !m.separator && m.command == command) return id;
  return 0;
}

std::string TScriptedGui::MenuText(THandle menuOrItem) const {
  const TScriptedMenu* m = Menu(menuOrItem);
  return m ? m->text : std::string();
}

std::vector<THandle> TScriptedGui::TopMenus(THandle window) const {
  std::vector<THandle> out;
  for (const auto& [id, m] : menus_)
    if (m.window == window && m.parent == 0) out.push_back(id);
  return out;
}

bool TScriptedGui::MenuChoosable(THandle item) const {
  const TScriptedMenu* m = Menu(item);
  if (!m) return false;
  const THandle window = m->window;
  for (; m; m = Menu(m->parent))
    if (!m->enabled) return false;
  return Usable(window);
}

void TScriptedGui::DestroyMenu(THandle menu) {
  auto it = menus_.find(menu);
  if (it == menus_.end()) return;
  const std::vector<THandle> children = it->second.children;
  menus_.erase(it);
  for (THandle child : children) DestroyMenu(child);
}

// ---- Toolbar -------------------------------------------------------------------

THandle TScriptedGui::CreateToolbar(THandle window, const std::uint32_t* argb, int width,
                                    int height) {
  if (!FindKind(window, TGadgetKind::Window)) return 0;
  const THandle id = AddGadget(TGadgetKind::Toolbar, window, 0, 0, 0, height, "");
  TScriptedGadget* g = Find(id);
  const int count = argb && height > 0 ? width / height : 0;
  g->buttons.assign(std::max(0, count), {std::string(), 0});
  g->rect.width = std::max(0, count) * height;
  return id;
}

THandle TScriptedGui::CreateToolbarFromFile(THandle window, const std::string& pngPath) {
  int width = 0, height = 0;
  static const std::uint32_t kDummy = 0;
  // Only the header is read: the icons' pixels matter to nobody headless.
  const bool ok = ReadPngSize(pngPath, width, height);
  const THandle id = CreateToolbar(window, ok ? &kDummy : nullptr, width, height);
  if (TScriptedGadget* g = Find(id)) g->sourceFile = pngPath;
  return id;
}

void TScriptedGui::SetToolbarButton(THandle toolbar, int index, const std::string& tooltip,
                                    int command) {
  TScriptedGadget* g = FindKind(toolbar, TGadgetKind::Toolbar);
  if (!g || index < 0 || index >= static_cast<int>(g->buttons.size())) return;
  g->buttons[index] = {tooltip, command};
}

int TScriptedGui::ToolbarButtonCount(THandle toolbar) const {
  const TScriptedGadget* g = FindConst(toolbar);
  return g && g->kind == TGadgetKind::Toolbar ? static_cast<int>(g->buttons.size()) : 0;
}

int TScriptedGui::ToolbarCommand(THandle toolbar, int index) const {
  const TScriptedGadget* g = FindConst(toolbar);
  if (!g || g->kind != TGadgetKind::Toolbar || index < 0 ||
      index >= static_cast<int>(g->buttons.size()))
    return 0;
  return g->buttons[index].second;
}

// ---- Controls ------------------------------------------------------------------

THandle TScriptedGui::CreatePanel(THandle parent, int x, int y, int width, int height,
                                  const std::string& title, bool frame) {
  const THandle id = AddGadget(TGadgetKind::Panel, parent, x, y, width, height, title);
  if (TScriptedGadget* g = Find(id)) g->frame = frame;
  return id;
}

THandle TScriptedGui::CreateLabel(THandle parent, int x, int y, int width, int height,
                                  const std::string& text) {
  return AddGadget(TGadgetKind::Label, parent, x, y, width, height, text);
}

THandle TScriptedGui::CreateTextField(THandle parent, int x, int y, int width, int height,
                                      const std::string& text) {
  return AddGadget(TGadgetKind::TextField, parent, x, y, width, height, text);
}

THandle TScriptedGui::CreateButton(THandle parent, int x, int y, int width, int height,
                                   const std::string& text, TButtonKind kind) {
  const THandle id = AddGadget(TGadgetKind::Button, parent, x, y, width, height, text);
  if (TScriptedGadget* g = Find(id)) g->buttonKind = kind;
  return id;
}

THandle TScriptedGui::CreateCheckBox(THandle parent, int x, int y, int width, int height,
                                     const std::string& text, bool checked) {
  const THandle id = AddGadget(TGadgetKind::CheckBox, parent, x, y, width, height, text);
  if (TScriptedGadget* g = Find(id)) g->state = checked ? 1 : 0;
  return id;
}

THandle TScriptedGui::CreateListBox(THandle parent, int x, int y, int width, int height) {
  const THandle id = AddGadget(TGadgetKind::ListBox, parent, x, y, width, height, "");
  if (TScriptedGadget* g = Find(id)) g->state = -1;
  return id;
}

THandle TScriptedGui::CreateComboBox(THandle parent, int x, int y, int width, int height) {
  const THandle id = AddGadget(TGadgetKind::ComboBox, parent, x, y, width, height, "");
  if (TScriptedGadget* g = Find(id)) g->state = -1;
  return id;
}

THandle TScriptedGui::CreateSlider(THandle parent, int x, int y, int width, int height,
                                   int minimum, int maximum) {
  const THandle id = AddGadget(TGadgetKind::Slider, parent, x, y, width, height, "");
  if (TScriptedGadget* g = Find(id)) {
    g->minimum = std::min(minimum, maximum);
    g->maximum = std::max(minimum, maximum);
    g->state = g->minimum;
  }
  return id;
}

THandle TScriptedGui::CreateCanvas(THandle parent, int x, int y, int width, int height) {
  const THandle id = AddGadget(TGadgetKind::Canvas, parent, x, y, width, height, "");
  if (TScriptedGadget* g = Find(id)) {
    g->picture.Resize(width, height, 0xFF000000u);
    g->shown.Resize(width, height, 0xFF000000u);
  }
  return id;
}

// ---- Any gadget ----------------------------------------------------------------

void TScriptedGui::Destroy(THandle handle) {
  TScriptedGadget* g = Find(handle);
  if (!g) return;
  const std::vector<THandle> children = g->children;
  for (THandle child : children) Destroy(child);
  g = Find(handle);
  if (g->kind == TGadgetKind::Window) {
    for (THandle top : TopMenus(handle)) DestroyMenu(top);
    windowOrder_.erase(std::remove(windowOrder_.begin(), windowOrder_.end(), handle),
                       windowOrder_.end());
    // Windows whose parent goes go with it, as the toolkit's child windows do.
    std::vector<THandle> owned;
    for (const auto& [id, other] : gadgets_)
      if (other.kind == TGadgetKind::Window && other.parent == handle) owned.push_back(id);
    for (THandle w : owned) Destroy(w);
    if (active_ == handle) active_ = windowOrder_.empty() ? 0 : windowOrder_.back();
  } else if (TScriptedGadget* owner = Find(g->parent)) {
    owner->children.erase(std::remove(owner->children.begin(), owner->children.end(), handle),
                          owner->children.end());
  }
  if (focus_ == handle) focus_ = 0;
  gadgets_.erase(handle);
}

TGadgetKind TScriptedGui::KindOf(THandle handle) const {
  const TScriptedGadget* g = FindConst(handle);
  return g ? g->kind : TGadgetKind::None;
}

THandle TScriptedGui::WindowOf(THandle handle) const {
  const TScriptedGadget* g = FindConst(handle);
  return g ? g->window : 0;
}

void TScriptedGui::SetText(THandle handle, const std::string& text) {
  TScriptedGadget* g = Find(handle);
  if (!g) return;
  if (g->kind == TGadgetKind::ComboBox) {
    for (size_t i = 0; i < g->items.size(); ++i)
      if (g->items[i].first == text) g->state = static_cast<int>(i);
    return;
  }
  g->text = text;
}

std::string TScriptedGui::GetText(THandle handle) const {
  const TScriptedGadget* g = FindConst(handle);
  if (!g) return {};
  if (g->kind == TGadgetKind::ComboBox || g->kind == TGadgetKind::ListBox)
    return g->state >= 0 && g->state < static_cast<int>(g->items.size())
               ? g->items[g->state].first
               : std::string();
  return g->text;
}

void TScriptedGui::SetState(THandle handle, int state) {
  TScriptedGadget* g = Find(handle);
  if (!g) return;
  switch (g->kind) {
    case TGadgetKind::CheckBox:
      g->state = state ? 1 : 0;
      break;
    case TGadgetKind::Slider:
      g->state = std::clamp(state, g->minimum, g->maximum);
      break;
    case TGadgetKind::ListBox:
    case TGadgetKind::ComboBox:
      g->state = state >= 0 && state < static_cast<int>(g->items.size()) ? state : -1;
      break;
    default:
      break;
  }
}

int TScriptedGui::GetState(THandle handle) const {
  const TScriptedGadget* g = FindConst(handle);
  return g ? g->state : 0;
}

void TScriptedGui::SetRange(THandle slider, int minimum, int maximum) {
  TScriptedGadget* g = FindKind(slider, TGadgetKind::Slider);
  if (!g) return;
  g->minimum = std::min(minimum, maximum);
  g->maximum = std::max(minimum, maximum);
  g->state = std::clamp(g->state, g->minimum, g->maximum);
}

void TScriptedGui::EnableGadget(THandle handle, bool enabled) {
  if (TScriptedGadget* g = Find(handle)) g->enabled = enabled;
}

bool TScriptedGui::GadgetEnabled(THandle handle) const {
  const TScriptedGadget* g = FindConst(handle);
  return g && g->enabled;
}

void TScriptedGui::ShowGadget(THandle handle, bool visible) {
  TScriptedGadget* g = Find(handle);
  if (!g) return;
  g->visible = visible;
  if (visible && g->kind == TGadgetKind::Window) active_ = handle;
}

void TScriptedGui::ResizeGadget(THandle handle, int x, int y, int width, int height) {
  TScriptedGadget* g = Find(handle);
  if (!g) return;
  if (g->kind == TGadgetKind::Window) {
    width = std::max(width, g->minimumSize.width);
    height = std::max(height, g->minimumSize.height);
    g->maximized = false;
  }
  g->rect = {x, y, std::max(0, width), std::max(0, height)};
  if (g->kind == TGadgetKind::Canvas) {
    g->picture.Resize(g->rect.width, g->rect.height, 0xFF000000u);
    g->shown.Resize(g->rect.width, g->rect.height, 0xFF000000u);
  }
}

TRect TScriptedGui::Geometry(THandle handle) const {
  const TScriptedGadget* g = FindConst(handle);
  return g ? g->rect : TRect{};
}

void TScriptedGui::SetFocus(THandle handle) {
  TScriptedGadget* g = Find(handle);
  if (!g) return;
  if (g->kind == TGadgetKind::Window) {
    active_ = handle;
    return;
  }
  focus_ = handle;
  active_ = g->window;
}

void TScriptedGui::SetToolTip(THandle handle, const std::string& text) {
  if (TScriptedGadget* g = Find(handle)) g->tooltip = text;
}

void TScriptedGui::SetTextColor(THandle handle, std::uint32_t argb) {
  if (TScriptedGadget* g = Find(handle)) {
    g->textColor = argb;
    g->hasTextColor = true;
  }
}

void TScriptedGui::SetBackColor(THandle handle, std::uint32_t argb) {
  if (TScriptedGadget* g = Find(handle)) {
    g->backColor = argb;
    g->hasBackColor = true;
  }
}

void TScriptedGui::SetPointer(THandle handle, TPointer pointer) {
  if (handle == 0) {
    programPointer_ = pointer;
    return;
  }
  if (TScriptedGadget* g = Find(handle)) g->pointer = pointer;
}

// ---- Lists ---------------------------------------------------------------------

namespace {
bool IsList(const TScriptedGadget* g) {
  return g && (g->kind == TGadgetKind::ListBox || g->kind == TGadgetKind::ComboBox);
}
}  // namespace

void TScriptedGui::AddItem(THandle list, const std::string& text, const std::string& attached) {
  TScriptedGadget* g = Find(list);
  if (!IsList(g)) return;
  g->items.emplace_back(text, attached);
  // A combo box always shows an item once it has one, as the toolkit's does.
  if (g->kind == TGadgetKind::ComboBox && g->state < 0) g->state = 0;
}

void TScriptedGui::ClearItems(THandle list) {
  TScriptedGadget* g = Find(list);
  if (!IsList(g)) return;
  g->items.clear();
  g->state = -1;
}

int TScriptedGui::ItemCount(THandle list) const {
  const TScriptedGadget* g = FindConst(list);
  return IsList(g) ? static_cast<int>(g->items.size()) : 0;
}

std::string TScriptedGui::ItemText(THandle list, int index) const {
  const TScriptedGadget* g = FindConst(list);
  if (!IsList(g) || index < 0 || index >= static_cast<int>(g->items.size())) return {};
  return g->items[index].first;
}

std::string TScriptedGui::ItemAttached(THandle list, int index) const {
  const TScriptedGadget* g = FindConst(list);
  if (!IsList(g) || index < 0 || index >= static_cast<int>(g->items.size())) return {};
  return g->items[index].second;
}

// ---- Pictures and canvas ---------------------------------------------------------

void TScriptedGui::SetPanelPixmap(THandle panel, const std::uint32_t* argb, int width,
                                  int height) {
  TScriptedGadget* g = FindKind(panel, TGadgetKind::Panel);
  if (!g) return;
  g->picture.Resize(width, height, 0);
  g->picture.Blit(0, 0, argb, width, height);
  g->pictureX = (g->rect.width - width) / 2;
  g->pictureY = (g->rect.height - height) / 2;
}

void TScriptedGui::CanvasClear(THandle canvas, std::uint32_t argb) {
  TScriptedGadget* g = FindKind(canvas, TGadgetKind::Canvas);
  if (!g) return;
  g->picture.Fill(argb);
  g->ops.clear();
  TDrawOp op;
  op.kind = TDrawOp::Kind::Clear;
  op.argb = argb;
  g->ops.push_back(op);
}

void TScriptedGui::CanvasLine(THandle canvas, int x0, int y0, int x1, int y1,
                              std::uint32_t argb, int lineWidth) {
  TScriptedGadget* g = FindKind(canvas, TGadgetKind::Canvas);
  if (!g) return;
  g->picture.Line(x0, y0, x1, y1, argb, lineWidth);
  TDrawOp op;
  op.kind = TDrawOp::Kind::Line;
  op.x0 = x0, op.y0 = y0, op.x1 = x1, op.y1 = y1;
  op.argb = argb;
  op.lineWidth = lineWidth;
  g->ops.push_back(op);
}

void TScriptedGui::CanvasText(THandle canvas, int x, int y, const std::string& text,
                              std::uint32_t argb) {
  TScriptedGadget* g = FindKind(canvas, TGadgetKind::Canvas);
  if (!g) return;
  TDrawOp op;
  op.kind = TDrawOp::Kind::Text;
  op.x0 = x, op.y0 = y;
  op.argb = argb;
  op.text = text;
  g->ops.push_back(op);
}

void TScriptedGui::CanvasPixmap(THandle canvas, int x, int y, const std::uint32_t* argb,
                                int width, int height) {
  TScriptedGadget* g = FindKind(canvas, TGadgetKind::Canvas);
  if (!g || !argb || width <= 0 || height <= 0) return;
  g->picture.Blit(x, y, argb, width, height);
  g->lastPixmap.assign(argb, argb + static_cast<size_t>(width) * height);
  g->lastPixmapX = x, g->lastPixmapY = y;
  g->lastPixmapWidth = width, g->lastPixmapHeight = height;
  TDrawOp op;
  op.kind = TDrawOp::Kind::Pixmap;
  op.x0 = x, op.y0 = y, op.x1 = width, op.y1 = height;
  g->ops.push_back(op);
}

void TScriptedGui::CanvasPresent(THandle canvas) {
  TScriptedGadget* g = FindKind(canvas, TGadgetKind::Canvas);
  if (!g) return;
  g->shown = g->picture;
  g->presentedOps = g->ops;
  ++g->presents;
}

// ---- Dialogs -------------------------------------------------------------------

void TScriptedGui::MessageBox(const std::string& title, const std::string& text) {
  TDialogRecord d;
  d.kind = TDialogRecord::Kind::Message;
  d.title = title;
  d.text = text;
  dialogs_.push_back(d);
}

bool TScriptedGui::Question(const std::string& title, const std::string& text) {
  TDialogRecord d;
  d.kind = TDialogRecord::Kind::Question;
  d.title = title;
  d.text = text;
  if (questionAnswers_.empty()) {
    dialogs_.push_back(d);
    throw TScriptExhausted("question without a prepared answer: " + text);
  }
  d.answer = questionAnswers_.front();
  questionAnswers_.pop_front();
  dialogs_.push_back(d);
  return d.answer;
}

std::string TScriptedGui::FileRequester(const std::string& title, const std::string& path,
                                        const std::string& pattern, bool save) {
  TDialogRecord d;
  d.kind = TDialogRecord::Kind::File;
  d.title = title;
  d.text = title;
  d.path = path;
  d.pattern = pattern;
  d.save = save;
  if (fileAnswers_.empty()) {
    dialogs_.push_back(d);
    throw TScriptExhausted("file chooser without a prepared answer: " + title);
  }
  d.fileAnswer = fileAnswers_.front();
  fileAnswers_.pop_front();
  dialogs_.push_back(d);
  return d.fileAnswer;
}

bool TScriptedGui::OpenUrl(const std::string& url) {
  TDialogRecord d;
  d.kind = TDialogRecord::Kind::Url;
  d.text = url;
  dialogs_.push_back(d);
  return browserPresent_;
}

}  // namespace ork
