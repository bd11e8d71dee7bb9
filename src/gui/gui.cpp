#include "gui/gui.h"

#include "gui/scripted.h"

namespace ork {

bool TGui::StatusTextFits(THandle window, const std::string& text) const {
  return 7 * static_cast<int>(text.size()) <= ClientSize(window).width - 20;
}

TEvent TGui::WaitEvent() {
  while (queue_.empty()) Pump(true);
  current_ = std::move(queue_.front());
  queue_.pop_front();
  return current_;
}

bool TGui::PollEvent(TEvent& event) {
  Pump(false);
  if (queue_.empty()) return false;
  current_ = std::move(queue_.front());
  queue_.pop_front();
  event = current_;
  return true;
}

void TGui::PostEvent(const TEvent& event) { queue_.push_back(event); }

void TGui::PostCommand(int command, THandle window) {
  TEvent event;
  event.kind = TEventKind::MenuCommand;
  event.window = window;
  event.source = window;
  event.data = command;
  queue_.push_back(event);
}

void TGui::RequestPaint(THandle canvas) {
  if (KindOf(canvas) != TGadgetKind::Canvas) return;
  for (const TEvent& queued : queue_)
    if (queued.kind == TEventKind::Paint && queued.source == canvas) return;
  TEvent event;
  event.kind = TEventKind::Paint;
  event.source = canvas;
  event.window = WindowOf(canvas);
  queue_.push_back(event);
}

THandle TGui::CreateMenuGroup(const std::vector<THandle>& members) {
  groups_.push_back(members);
  return static_cast<THandle>(groups_.size());
}

void TGui::EnableMenuGroup(THandle group, bool enabled) {
  if (group < 1 || group > static_cast<THandle>(groups_.size())) return;
  for (THandle member : groups_[group - 1]) EnableMenu(member, enabled);
}

namespace {
TGui* current_gui = nullptr;
}  // namespace

TGui& Gui() {
  if (current_gui) return *current_gui;
  static TScriptedGui fallback;
  return fallback;
}

TGui* SetGui(TGui* gui) {
  TGui* previous = current_gui;
  current_gui = gui;
  return previous;
}

}  // namespace ork
