// The scripted back end acting as the user: each call changes what the
// toolkit would change and queues the events it would deliver.
#include "gui/scripted.h"

#include <algorithm>

namespace ork {

void TScriptedGui::Pump(bool wait) {
  if (!wait || PendingEvents() > 0) return;
  if (idle_) idle_(*this);
  if (PendingEvents() == 0) throw TScriptExhausted("waiting for an event, but the script has none");
}

void TScriptedGui::Queue(TEventKind kind, THandle source, int data, const std::string& text) {
  TEvent event;
  event.kind = kind;
  event.source = source;
  event.window = WindowOf(source);
  event.data = data;
  event.text = text;
  PostEvent(event);
}

void TScriptedGui::QueueMouse(TEventKind kind, THandle source, int x, int y, int buttons) {
  TEvent event;
  event.kind = kind;
  event.source = source;
  event.window = WindowOf(source);
  event.x = x;
  event.y = y;
  event.buttons = buttons;
  PostEvent(event);
}

bool TScriptedGui::ChooseMenu(THandle window, int command) {
  const THandle item = FindMenuItem(window, command);
  if (!item || !MenuChoosable(item)) return false;
  TEvent event;
  event.kind = TEventKind::MenuCommand;
  event.window = window;
  event.source = window;
  event.data = command;
  PostEvent(event);
  return true;
}

bool TScriptedGui::OpenMenu(THandle menu) {
  const TScriptedMenu* m = Menu(menu);
  if (!m || !m->isMenu || !MenuChoosable(menu)) return false;
  if (m->command != 0) PostCommand(m->command, m->window);
  return true;
}

bool TScriptedGui::Click(THandle gadget) {
  TScriptedGadget* g = Find(gadget);
  if (!g || !Usable(gadget)) return false;
  if (g->kind == TGadgetKind::Button) {
    Queue(TEventKind::Gadget, gadget, 0);
    return true;
  }
  if (g->kind == TGadgetKind::CheckBox) {
    g->state = g->state ? 0 : 1;
    Queue(TEventKind::Gadget, gadget, g->state);
    return true;
  }
  return false;
}

bool TScriptedGui::PressToolbar(THandle toolbar, int index) {
  if (!Usable(toolbar) || index < 0 || index >= ToolbarButtonCount(toolbar)) return false;
  Queue(TEventKind::Gadget, toolbar, index);
  return true;
}

bool TScriptedGui::TypeText(THandle field, const std::string& text, bool pressReturn) {
  TScriptedGadget* g = Find(field);
  if (!g || g->kind != TGadgetKind::TextField || !Usable(field)) return false;
  focus_ = field;
  active_ = g->window;
  g->text = text;
  Queue(TEventKind::TextChanged, field, 0, text);
  if (pressReturn) {
    Queue(TEventKind::TextEnter, field, 0, text);
    // Return in a window with a default button presses it as well.
    for (THandle b : FindGadgets(g->window, TGadgetKind::Button))
      if (Find(b)->buttonKind == TButtonKind::DefaultOk && Usable(b)) {
        Queue(TEventKind::Gadget, b, 0);
        break;
      }
  }
  return true;
}

bool TScriptedGui::LeaveField(THandle field) {
  TScriptedGadget* g = Find(field);
  if (!g || g->kind != TGadgetKind::TextField) return false;
  if (focus_ == field) focus_ = 0;
  Queue(TEventKind::FocusLost, field, 0, g->text);
  return true;
}

bool TScriptedGui::SelectItem(THandle list, int index) {
  TScriptedGadget* g = Find(list);
  if (!g || (g->kind != TGadgetKind::ListBox && g->kind != TGadgetKind::ComboBox) ||
      !Usable(list) || index < 0 || index >= static_cast<int>(g->items.size()))
    return false;
  g->state = index;
  Queue(TEventKind::Gadget, list, index, g->items[index].second);
  return true;
}

bool TScriptedGui::MoveSlider(THandle slider, int position) {
  TScriptedGadget* g = Find(slider);
  if (!g || g->kind != TGadgetKind::Slider || !Usable(slider)) return false;
  g->state = std::clamp(position, g->minimum, g->maximum);
  Queue(TEventKind::Gadget, slider, g->state);
  return true;
}

THandle TScriptedGui::KeySource(THandle source) const {
  if (source) return source;
  if (focus_) return focus_;
  return active_;
}

void TScriptedGui::KeyDown(int key, THandle source, bool repeat, int modifiers) {
  source = KeySource(source);
  // As in the toolkit: Return presses a focused button, else the window's
  // default button; Escape presses its Cancel button.
  if (!repeat && (key == kKeyReturn || key == kKeyEscape)) {
    const TScriptedGadget* g = Find(source);
    if (key == kKeyReturn && g && g->kind == TGadgetKind::Button && Usable(source)) {
      Queue(TEventKind::Gadget, source, 0);
      return;
    }
    const TButtonKind wanted = key == kKeyReturn ? TButtonKind::DefaultOk : TButtonKind::Cancel;
    for (THandle b : FindGadgets(WindowOf(source), TGadgetKind::Button))
      if (Find(b)->buttonKind == wanted && Usable(b)) {
        Queue(TEventKind::Gadget, b, 0);
        return;
      }
  }
  TEvent event;
  event.kind = TEventKind::KeyDown;
  event.source = source;
  event.window = WindowOf(source);
  event.key = key;
  event.data = repeat ? 1 : 0;
  event.modifiers = modifiers;
  PostEvent(event);
}

void TScriptedGui::KeyUp(int key, THandle source, int modifiers) {
  source = KeySource(source);
  TEvent event;
  event.kind = TEventKind::KeyUp;
  event.source = source;
  event.window = WindowOf(source);
  event.key = key;
  event.modifiers = modifiers;
  PostEvent(event);
}

void TScriptedGui::MouseMove(THandle source, int x, int y, int buttons) {
  QueueMouse(TEventKind::MouseMove, source, x, y, buttons);
}

void TScriptedGui::MouseDown(THandle source, int x, int y, int button) {
  // A click on a canvas gives it the keyboard focus, as in the Qt back end.
  if (KindOf(source) == TGadgetKind::Canvas) SetFocus(source);
  QueueMouse(TEventKind::MouseDown, source, x, y, button);
}

void TScriptedGui::MouseUp(THandle source, int x, int y, int button) {
  QueueMouse(TEventKind::MouseUp, source, x, y, button);
}

void TScriptedGui::MouseEnter(THandle source) { QueueMouse(TEventKind::MouseEnter, source, 0, 0, 0); }

void TScriptedGui::MouseLeave(THandle source) { QueueMouse(TEventKind::MouseLeave, source, 0, 0, 0); }

void TScriptedGui::CloseBox(THandle window) {
  if (KindOf(window) != TGadgetKind::Window) return;
  Queue(TEventKind::WindowClose, window);
}

void TScriptedGui::ResizeWindow(THandle window, int width, int height) {
  TScriptedGadget* g = Find(window);
  if (!g || g->kind != TGadgetKind::Window) return;
  g->rect.width = std::max({0, width, g->minimumSize.width});
  g->rect.height = std::max({0, height, g->minimumSize.height});
  g->maximized = false;
  QueueSize(window);
}

void TScriptedGui::QueueSize(THandle window) {
  const TScriptedGadget* g = Find(window);
  TEvent event;
  event.kind = TEventKind::WindowSize;
  event.source = window;
  event.window = window;
  event.x = g->rect.width;
  event.y = g->rect.height;
  PostEvent(event);
}

void TScriptedGui::DropFile(THandle window, const std::string& path) {
  const TScriptedGadget* g = Find(window);
  if (!g || g->kind != TGadgetKind::Window || !(g->flags & kWinAcceptDrop)) return;
  Queue(TEventKind::WindowDrop, window, 0, path);
}

void TScriptedGui::ActivateWindow(THandle window) {
  if (KindOf(window) != TGadgetKind::Window) return;
  active_ = window;
  Queue(TEventKind::WindowActivate, window);
}

}  // namespace ork
