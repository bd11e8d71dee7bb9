// The event value of the GUI adapter and the codes it carries. Every user
// action and every posted command reaches the program as one TEvent taken
// from the queue of the current back end (gui/gui.h).
#pragma once

#include <string>

namespace ork {

// Windows, gadgets, menus, menu items and menu groups are all named by a
// handle; 0 names nothing. Handles are never reused within one back end, so
// a stale handle is simply ignored.
using THandle = int;

enum class TEventKind {
  None,          // nothing (a default-constructed event)
  MenuCommand,   // data: command number; window: source window or 0
  Gadget,        // a gadget's action, see the table below
  TextChanged,   // a text field's text was edited; text: the new text
  TextEnter,     // Return was pressed in a text field; text: its text
  FocusLost,     // a text field lost the keyboard focus; text: its text
  KeyDown,       // key: code; data: 1 for an auto-repeated press, else 0
  KeyUp,         // key: code (auto-repeated releases are never reported)
  MouseDown,     // buttons: the button pressed; x, y: position
  MouseUp,       // buttons: the button released; x, y: position
  MouseMove,     // buttons: the buttons held; x, y: position
  MouseEnter,    // the pointer entered the gadget
  MouseLeave,    // the pointer left the gadget
  Paint,         // a canvas asks to be drawn (RequestPaint)
  WindowClose,   // the close box was pressed; the window is NOT closed
  WindowSize,    // the client area got a new size; x, y: its width, height
                 // (also after the program's own SetClientSize or
                 // MaximizeWindow, once the new size has settled)
  WindowActivate,// the window became the active one
  WindowDrop,    // a file was dropped on the window; text: its path
};

// What a Gadget event means, by the kind of its source:
//   push button      pressed; data 0
//   check box        toggled by the user; data: the new state (0 or 1)
//   list/combo box   the user selected an item; data: its index,
//                    text: the item's attached text
//   slider           moved by the user; data: the new position
//   toolbar          button pressed; data: the button index
//                    (TGui::ToolbarCommand tells the command bound to it)

// Mouse buttons (TEvent::buttons is a set of these).
enum : int { kMouseLeft = 1, kMouseRight = 2, kMouseMiddle = 4 };
// Modifier keys held (TEvent::modifiers).
enum : int { kModShift = 1, kModControl = 2, kModAlt = 4 };

// Key codes are the usual virtual key codes: letters as upper-case ASCII
// ('A' 65 ... 'Z' 90), digits as ASCII ('0' 48 ... '9' 57), and these.
enum : int {
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyReturn = 13,
  kKeyShift = 16,
  kKeyControl = 17,
  kKeyAlt = 18,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyInsert = 45,
  kKeyDelete = 46,
  kKeyF1 = 112,  // F1 ... F12 are 112 ... 123
};

struct TEvent {
  TEventKind kind = TEventKind::None;
  // The top-level window the event belongs to (0 for a posted command
  // without source window).
  THandle window = 0;
  // The object that produced it: a gadget, the toolbar, a canvas, or the
  // window itself (window events, keys while no gadget takes them).
  THandle source = 0;
  int data = 0;
  // Mouse position in pixels relative to the source's top-left corner.
  int x = 0;
  int y = 0;
  // ISO-8859-1 text attached to the event (see the kinds above).
  std::string text;
  int key = 0;
  int buttons = 0;
  int modifiers = 0;
};

}  // namespace ork
