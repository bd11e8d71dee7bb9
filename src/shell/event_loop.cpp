#include "shell/event_loop.h"

#include <new>

#include "engine/allocation.h"
#include "gui/gui.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/menu_texts.h"
#include "shell/mouse_tools.h"
#include "shell/settings.h"
#include "shell/settings_startup.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"
#include "shell/texts.h"

namespace ork {

namespace {

// The extra action of a slot whose window the user closed by its close box.
void AfterCloseBox(TSlot slot) {
  TShellState& s = Shell();
  switch (slot) {
    case TSlot::ColourTables:
    case TSlot::Coding:
      if (s.Movie1) s.Movie1->FensterCol = 0;
      s.ColourRangeLow = s.ColourRangeHigh = kNoColourRange;
      break;
    case TSlot::ColourShift:
      SetStatus(CurrentSingleStatus());
      break;
    case TSlot::ColourFactor:
      SetStatus(CurrentSingleStatus());
      s.ColourRangeLow = s.ColourRangeHigh = kNoColourRange;
      break;
    case TSlot::Julia1:
    case TSlot::Julia2:
    case TSlot::Julia3:
    case TSlot::Julia4:
      s.JuliaNext = static_cast<int>(slot) - static_cast<int>(TSlot::Julia1);
      break;
    default:
      break;
  }
}

void OfferToToolWindows(const TEvent& event) {
  TShellState& s = Shell();
  for (int i = 0; i < kSlotCount; ++i) {
    const TSlot slot = static_cast<TSlot>(i);
    TToolWindow* window = SlotWindow(slot);
    if (!window) continue;
    const THandle handle = window->Handle();
    window->OnEvent(event);
    // While the format window edits both movies, every change it made to
    // Movie 1 (a field left, a size chosen, "OK", even when that closed the
    // window) goes to Movie 2 as well.
    if (slot == TSlot::PictureFormat && s.BothFormats && event.window == handle &&
        (event.kind == TEventKind::Gadget || event.kind == TEventKind::FocusLost ||
         event.kind == TEventKind::MenuCommand) &&
        s.Movie1 && s.Movie2) {
      s.Movie2->OutputWidth = s.Movie1->OutputWidth;
      s.Movie2->OutputHeight = s.Movie1->OutputHeight;
      s.Movie2->FileName = s.Movie1->FileName;
    }
    // OnEvent may have closed the window itself.
    window = SlotWindow(slot);
    if (!window) continue;
    if (event.kind == TEventKind::WindowClose && event.source == window->Handle()) {
      CloseSlot(slot);
      AfterCloseBox(slot);
    }
  }
}

// After an event that can change a movie (a command, a mouse tool, a tool
// window's action), every open window shows what changed. Pointer moves,
// paints and typing change no movie.
void SyncToolWindows(const TEvent& event) {
  switch (event.kind) {
    case TEventKind::None:
    case TEventKind::MouseMove:
    case TEventKind::MouseEnter:
    case TEventKind::MouseLeave:
    case TEventKind::Paint:
    case TEventKind::TextChanged:
      return;
    default:
      break;
  }
  for (int i = 0; i < kSlotCount; ++i)
    if (TToolWindow* window = SlotWindow(static_cast<TSlot>(i))) window->Sync();
}

void ToolbarPressed(int index) {
  TShellState& s = Shell();
  const THandle toolbar = MainWindow().Toolbar;
  if (index != menu_texts::kBackButton) s.BackRepeat = 0;
  if (index == menu_texts::kBeginnerButton) s.BeginnerName = Tr(shell_texts::kBeginnerWord);
  const int command = Gui().ToolbarCommand(toolbar, index);
  if (command != 0) PostShellCommand(command);
}

}  // namespace

void PostShellCommand(int command) { Gui().PostCommand(command, MainWindow().Window); }

bool ConfirmEnd() { return ShellHost().Question(Tr(menu_texts::kCloseReally)); }

void ShownKeyCheck() {
  TShellState& s = Shell();
  if (!s.Movie1) return;
  TShownKeys& shown = ShownKeys();
  if (s.Movie1->Actual == shown.LastKeyM1) return;
  const std::string question = "[KEY" + std::to_string(s.Movie1->Actual) +
                               Tr(menu_texts::kKeyResetTo) + std::to_string(shown.LastKeyM1) +
                               "]";
  const bool reset = ShellHost().Question(question);
  if (reset) s.Movie1->Actual = shown.LastKeyM1;
  // Every data window shows the keyframe that is current now.
  for (int i = 0; i < kSlotCount; ++i)
    if (TToolWindow* window = SlotWindow(static_cast<TSlot>(i))) window->ShowActualKey();
  if (reset) return;
  shown.LastKeyM1 = s.Movie1->Actual;
  s.CurrentKeyM1 = TakeCurrentKey(s.Movie1.get());
  switch (Composition().CompositionMode) {
    case 1: PostShellCommand(83); break;
    case -1:
    case -12: PostShellCommand(85); break;
    case 0: PostShellCommand(86); break;
    case 22: PostShellCommand(89); break;
    case 21: PostShellCommand(90); break;
    case 3: PostShellCommand(91); break;
    default: break;
  }
}

void StartSequence() {
  TGui& gui = Gui();
  TShellState& s = Shell();
  TShellHost& host = ShellHost();
  const THandle window = MainWindow().Window;
  host.SetWindow(window);
  host.Diagnostic("MainLoop");

  const TStartSettings start = StartUpSettings(host);
  gui.SetCancelText(Tr(menu_texts::kCancelButton));
  gui.SetDialogLanguage(IsGerman() ? "de" : "en");
  if (start.Maximize) gui.MaximizeWindow(window);
  s.ToolbarSetting = start.Toolbar != 0;
  if (start.Toolbar) {
    BuildToolbar();
    s.ToolbarExists = true;
  }
  s.StartPreviewSetting = start.StartPreview != 0;
  s.StartPreviewPending = s.StartPreviewSetting;

  s.ChosenMovieName = start.StartIni;
  s.Movie1 = TParameterAnim::Load("INI\\", start.StartIni, host);
  s.Movie2 = s.Movie1->Copy();
  ShownKeys().LastKeyM1 = s.Movie1->Actual;
  ShownKeys().LastKeyM2 = s.Movie2->Actual;
  s.CurrentKeyM1 = TakeCurrentKey(s.Movie1.get());
  s.CurrentKeyM2 = TakeCurrentKey(s.Movie2.get());

  s.RenderM1 = std::make_unique<TRender>();
  s.RenderM2 = std::make_unique<TRender>();
  s.RenderColour = std::make_unique<TRender>();

  Composition().InsertPosX = 0;
  Composition().InsertPosY = s.Movie1->OutputHeight / 2;
  s.PreviewWidth = 200;
  s.JuliaPreviewHeight = 200;
  s.Tools = TToolState{};

  BuildMenus();
  CreatePictureArea();

  PostShellCommand(FirstCommand(s.CurrentKeyM1, start.StartPreview, s.BeginnerName));
}

namespace {

// A command that could not have the memory it asked for stopped where the
// allocation failed, before it saved anything, so the movies and their
// files are as they were; what it switched for its run is set back.
void AbandonCommand(const std::bad_alloc& error) {
  const std::string message = AllocationMessage(error);
  Dynamics().DynamicsMode = 0;
  EnableMenuGroup(TMenuGroup::All, true);
  SetStatus(message);
  RequestRepaint();
  ShellHost().Information(message);
}

void Dispatch(const TEvent& event) {
  TGui& gui = Gui();
  const TMainWindow& w = MainWindow();
  OfferToToolWindows(event);
  const bool onArea = w.Canvas != 0 && event.source == w.Canvas;
  switch (event.kind) {
    case TEventKind::KeyDown:
      // Keys typed into a tool window's fields are text, not picture tools:
      // only the main window's keys ask about the shown key.
      if (event.window == 0 || event.window == w.Window) ShownKeyCheck();
      // An auto-repeated press of a held tool key would restart its box.
      if (onArea && event.data == 0) ToolKeyDown(event.key);
      break;
    case TEventKind::KeyUp:
      if (onArea) ToolKeyUp(event.key);
      break;
    case TEventKind::MouseMove:
      if (onArea) ToolMouseMove(event.x, event.y);
      break;
    case TEventKind::MouseDown:
      if (onArea) {
        ToolMouseMove(event.x, event.y);
        ToolMouseDown(event.buttons);
      }
      break;
    case TEventKind::MouseEnter:
      if (onArea) gui.SetPointer(w.Canvas, TPointer::Cross);
      break;
    case TEventKind::MouseLeave:
      if (onArea) gui.SetPointer(w.Canvas, TPointer::Arrow);
      break;
    case TEventKind::Gadget:
      if (w.Toolbar != 0 && event.source == w.Toolbar) ToolbarPressed(event.data);
      break;
    case TEventKind::Paint:
      if (onArea) PaintPictureArea();
      break;
    case TEventKind::WindowSize:
      if (event.source == w.Window) CreatePictureArea();
      break;
    case TEventKind::WindowClose:
      if (event.source == w.Window && ConfirmEnd()) Shell().Ending = true;
      break;
    case TEventKind::WindowDrop:
      if (event.source == w.Window) ShellHost().Information(event.text);
      break;
    case TEventKind::MenuCommand:
      ExecuteCommand(event.data);
      break;
    default:
      break;
  }
}

}  // namespace

bool HandleEvent(const TEvent& event) {
  try {
    Dispatch(event);
  } catch (const std::bad_alloc& error) {
    AbandonCommand(error);
  }
  if (!Shell().Ending) {
    SyncToolWindows(event);
    return true;
  }
  CloseAllSlots();
  DestroyMainWindow();
  return false;
}

void MainLoop() {
  StartSequence();
  while (HandleEvent(Gui().WaitEvent())) {
  }
}

}  // namespace ork
