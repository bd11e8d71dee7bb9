// The GUI adapter: the one interface through which the shell and every tool
// window reach the toolkit. It is an event-queue API in the manner of a
// small platform layer: windows, gadgets and menus are handles (gui/event.h),
// every user action becomes a TEvent in one queue, and the program asks for
// the next event when it is ready for it.
//
// Two back ends implement it: the Qt back end (gui/qt/qt_gui.h, the only
// code that includes Qt) and the scripted back end (gui/scripted.h), which
// keeps everything in memory for tests. Gui() is the current one.
//
// Conventions of every call:
// - Texts are ISO-8859-1 byte strings (the back end converts them).
// - Positions and sizes are pixels. A gadget's x, y are relative to the
//   client area of its parent (a window or a panel); a window's client area
//   lies below its menu bar and toolbar and above its status line.
// - Colours are 32-bit ARGB as the pictures hold them (0xAARRGGBB); the
//   alpha channel of pictures and drawing colours is ignored: what is shown
//   is opaque. Pictures are passed as row-major ARGB pixels, `width` per row,
//   and copied by the call (the caller keeps ownership).
// - Calls on handle 0, on a destroyed handle or on a handle of the wrong
//   kind do nothing and return 0, false or an empty text.
// - Everything runs on the one GUI thread.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "gui/event.h"

namespace ork {

struct TRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct TSize {
  int width = 0;
  int height = 0;
};

// Flags of CreateWindow.
enum : int {
  kWinTitleBar = 1,     // a title bar with close box
  kWinResizable = 2,    // resizable frame, minimise and maximise boxes
  kWinMenuBar = 4,      // a menu bar (menus are added with CreateMenu)
  kWinStatusLine = 8,   // a status line (SetStatusText)
  kWinAcceptDrop = 16,  // dropped files produce WindowDrop events
  kWinClientSize = 32,  // width and height are the client area's size
                        // (otherwise the outer size, frame included)
  kWinCentered = 64,    // centred on the desktop; x and y are ignored
  kWinHidden = 128,     // created invisible; ShowGadget shows it
};

enum class TButtonKind {
  Normal,
  DefaultOk,  // pressed by Return anywhere in its window
  Cancel,     // pressed by Escape anywhere in its window
};

enum class TPointer { Arrow, Cross, Wait, Hand, Text };

enum class TGadgetKind {
  None,
  Window,
  Panel,
  Label,
  TextField,
  Button,
  CheckBox,
  ListBox,
  ComboBox,
  Slider,
  Canvas,
  Toolbar,
};

class TGui {
 public:
  virtual ~TGui() = default;

  // ---- The event queue -------------------------------------------------
  // Waits until an event is queued and takes it. Toolkit events are turned
  // into queued events meanwhile. The event also becomes CurrentEvent().
  TEvent WaitEvent();
  // Takes one pending event without waiting: processes what the toolkit has
  // pending, then returns false when the queue is still empty.
  bool PollEvent(TEvent& event);
  // The event last taken by WaitEvent or PollEvent (tool windows read it in
  // their OnEvent).
  const TEvent& CurrentEvent() const { return current_; }
  // Appends an event to the queue; it is taken after those already queued.
  void PostEvent(const TEvent& event);
  // Queues a MenuCommand event carrying `command`, with `window` as source
  // (0: no source window). It runs when the event loop reaches it.
  void PostCommand(int command, THandle window = 0);
  // Queues a Paint event for a canvas unless one is already waiting.
  void RequestPaint(THandle canvas);
  // Number of queued events (toolkit events not yet processed not counted).
  size_t PendingEvents() const { return queue_.size(); }

  // ---- Windows -----------------------------------------------------------
  // A window with the kWin* flags; `parent` (a window or 0) keeps it above
  // its parent. Returns its handle; shown at once unless kWinHidden.
  virtual THandle CreateWindow(const std::string& title, int x, int y, int width,
                               int height, int flags, THandle parent = 0) = 0;
  virtual void SetMinimumSize(THandle window, int width, int height) = 0;
  virtual void MaximizeWindow(THandle window) = 0;
  // Resizes the client area, keeping the position.
  virtual void SetClientSize(THandle window, int width, int height) = 0;
  virtual TSize ClientSize(THandle window) const = 0;
  // The client area in desktop coordinates (below menu bar and toolbar).
  virtual TRect ClientScreenRect(THandle window) const = 0;
  virtual void SetStatusText(THandle window, const std::string& text) = 0;
  // True when `text` shows whole in the window's status line. This base
  // version counts 7 pixels a character against the client width less a
  // margin of 20; the toolkit measures with the status line's font.
  virtual bool StatusTextFits(THandle window, const std::string& text) const;
  // The usable area of the desktop (without task bars).
  virtual TSize DesktopSize() const = 0;

  // ---- Menus -------------------------------------------------------------
  // A top-level menu of a window's menu bar. A non-zero `command` is posted
  // when the menu is opened (a menu title that carries a number).
  virtual THandle CreateMenu(THandle window, const std::string& text, int command = 0) = 0;
  // A submenu inside `menu`; `command` as for CreateMenu.
  virtual THandle CreateSubMenu(THandle menu, const std::string& text, int command = 0) = 0;
  // An item; choosing it queues a MenuCommand event with `command` and the
  // window as source. An empty text makes a separator (command ignored).
  // Items have no keyboard shortcuts.
  virtual THandle AddMenuItem(THandle menu, const std::string& text, int command) = 0;
  // Enables or disables a menu, a submenu or an item. A disabled menu
  // cannot be opened; its items cannot be chosen.
  virtual void EnableMenu(THandle menuOrItem, bool enabled) = 0;
  virtual void CheckMenuItem(THandle item, bool checked) = 0;
  virtual bool MenuItemChecked(THandle item) const = 0;
  virtual bool MenuEnabled(THandle menuOrItem) const = 0;
  // The first item of `window`'s menus carrying `command`, or 0.
  virtual THandle FindMenuItem(THandle window, int command) const = 0;
  virtual std::string MenuText(THandle menuOrItem) const = 0;

  // Menu groups: a list of menus or items enabled and disabled together
  // (the menu bar is refreshed afterwards). Group handles are numbered on
  // their own and only mean something to EnableMenuGroup.
  THandle CreateMenuGroup(const std::vector<THandle>& members);
  void EnableMenuGroup(THandle group, bool enabled);

  // ---- Toolbar -----------------------------------------------------------
  // A toolbar docked at the top of `window`, one button per square icon of
  // the strip (side = strip height; a remainder narrower than one icon is
  // dropped). Pressing button i queues a Gadget event with data i.
  virtual THandle CreateToolbar(THandle window, const std::uint32_t* argb, int width,
                                int height) = 0;
  // The same from a PNG file (a native path). A missing or unreadable file
  // gives a toolbar without buttons.
  virtual THandle CreateToolbarFromFile(THandle window, const std::string& pngPath) = 0;
  // Sets button `index`'s tooltip and the command bound to it; an index
  // without button is skipped.
  virtual void SetToolbarButton(THandle toolbar, int index, const std::string& tooltip,
                                int command) = 0;
  virtual int ToolbarButtonCount(THandle toolbar) const = 0;
  // The command bound to button `index`, 0 when none.
  virtual int ToolbarCommand(THandle toolbar, int index) const = 0;

  // ---- Controls ----------------------------------------------------------
  // `parent` is a window or a panel. With `frame` the panel is a group
  // frame showing `title`; without it a plain area (for pictures).
  virtual THandle CreatePanel(THandle parent, int x, int y, int width, int height,
                              const std::string& title, bool frame = true) = 0;
  virtual THandle CreateLabel(THandle parent, int x, int y, int width, int height,
                              const std::string& text) = 0;
  // A single-line text field.
  virtual THandle CreateTextField(THandle parent, int x, int y, int width, int height,
                                  const std::string& text = "") = 0;
  virtual THandle CreateButton(THandle parent, int x, int y, int width, int height,
                               const std::string& text,
                               TButtonKind kind = TButtonKind::Normal) = 0;
  virtual THandle CreateCheckBox(THandle parent, int x, int y, int width, int height,
                                 const std::string& text, bool checked = false) = 0;
  virtual THandle CreateListBox(THandle parent, int x, int y, int width, int height) = 0;
  // A drop-down list.
  virtual THandle CreateComboBox(THandle parent, int x, int y, int width, int height) = 0;
  // A horizontal slider over the integer range [minimum, maximum].
  virtual THandle CreateSlider(THandle parent, int x, int y, int width, int height,
                               int minimum, int maximum) = 0;
  // A drawing area (see Canvas below). It takes the keyboard focus when
  // clicked and reports keys and mouse events with itself as source.
  virtual THandle CreateCanvas(THandle parent, int x, int y, int width, int height) = 0;

  // ---- Any gadget --------------------------------------------------------
  // Destroys a gadget with its children; a window with all its gadgets,
  // menus and toolbar.
  virtual void Destroy(THandle handle) = 0;
  virtual TGadgetKind KindOf(THandle handle) const = 0;
  // The window a gadget lies in (a window: itself); 0 when unknown.
  virtual THandle WindowOf(THandle handle) const = 0;
  // Text of a label, text field, button, check box or the selected item of
  // a combo box; the title of a window or panel.
  virtual void SetText(THandle handle, const std::string& text) = 0;
  virtual std::string GetText(THandle handle) const = 0;
  // Check box: 0/1. Slider: position. List/combo box: selected index
  // (-1 none). Setting a state queues no event.
  virtual void SetState(THandle handle, int state) = 0;
  virtual int GetState(THandle handle) const = 0;
  // Slider range; the position is kept inside it.
  virtual void SetRange(THandle slider, int minimum, int maximum) = 0;
  // Enables or disables a gadget or a whole window.
  virtual void EnableGadget(THandle handle, bool enabled) = 0;
  virtual bool GadgetEnabled(THandle handle) const = 0;
  virtual void ShowGadget(THandle handle, bool visible) = 0;
  // Moves and resizes; for a window x, y, width, height are its outer frame.
  virtual void ResizeGadget(THandle handle, int x, int y, int width, int height) = 0;
  // Position and size as ResizeGadget takes them.
  virtual TRect Geometry(THandle handle) const = 0;
  // Keyboard focus to a gadget; for a window: activate it and bring it to
  // the front.
  virtual void SetFocus(THandle handle) = 0;
  virtual void SetToolTip(THandle handle, const std::string& text) = 0;
  virtual void SetTextColor(THandle handle, std::uint32_t argb) = 0;
  virtual void SetBackColor(THandle handle, std::uint32_t argb) = 0;
  // Pointer shape over a gadget or window. Handle 0 sets the shape for the
  // whole program (Wait during long work); Arrow on 0 lifts it again.
  virtual void SetPointer(THandle handle, TPointer pointer) = 0;

  // ---- List and combo boxes ---------------------------------------------
  // Appends an item showing `text` and carrying `attached` (returned in the
  // selection event and by ItemAttached).
  virtual void AddItem(THandle list, const std::string& text,
                       const std::string& attached = "") = 0;
  virtual void ClearItems(THandle list) = 0;
  virtual int ItemCount(THandle list) const = 0;
  virtual std::string ItemText(THandle list, int index) const = 0;
  virtual std::string ItemAttached(THandle list, int index) const = 0;

  // ---- Pictures on panels ------------------------------------------------
  // The panel shows the picture centred (cut where it is larger).
  virtual void SetPanelPixmap(THandle panel, const std::uint32_t* argb, int width,
                              int height) = 0;

  // ---- Canvas ------------------------------------------------------------
  // Drawing goes to the canvas's back buffer; CanvasPresent shows it. The
  // buffer keeps the canvas's size; drawing outside it is cut off.
  virtual void CanvasClear(THandle canvas, std::uint32_t argb) = 0;
  // A line with both end points included, `lineWidth` pixels thick.
  virtual void CanvasLine(THandle canvas, int x0, int y0, int x1, int y1, std::uint32_t argb,
                          int lineWidth = 1) = 0;
  // Text with its top-left corner at (x, y) in the toolkit's default font.
  virtual void CanvasText(THandle canvas, int x, int y, const std::string& text,
                          std::uint32_t argb) = 0;
  // A picture with its top-left corner at (x, y).
  virtual void CanvasPixmap(THandle canvas, int x, int y, const std::uint32_t* argb,
                            int width, int height) = 0;
  virtual void CanvasPresent(THandle canvas) = 0;

  // ---- Dialogs (modal; events of other windows wait meanwhile) -----------
  // An information box with an OK button.
  virtual void MessageBox(const std::string& title, const std::string& text) = 0;
  // An OK/Cancel question; true means OK.
  virtual bool Question(const std::string& title, const std::string& text) = 0;
  // The caption of the questions' Cancel button in the program's language;
  // empty leaves the toolkit's own.
  void SetCancelText(const std::string& text) { cancelText_ = text; }
  // The program's language for the toolkit's own texts (the buttons and
  // labels of its file dialogs): "de" or "en".
  virtual void SetDialogLanguage(const std::string& code) { dialogLanguage_ = code; }
  const std::string& DialogLanguage() const { return dialogLanguage_; }
  const std::string& CancelText() const { return cancelText_; }
  // A file chooser. `pattern` lists filters separated by '|', each
  // "Description (*.ext *.ext)"; `path` is the proposed file or directory.
  // Returns the chosen native path, empty when cancelled.
  virtual std::string FileRequester(const std::string& title, const std::string& path,
                                    const std::string& pattern, bool save) = 0;
  // Opens an address in the system's web browser; false when that failed.
  virtual bool OpenUrl(const std::string& url) = 0;

 protected:
  // Turns pending toolkit events into queued events. With `wait` it blocks
  // until the toolkit has something (the queue may still be empty after).
  virtual void Pump(bool wait) = 0;

 private:
  std::deque<TEvent> queue_;
  TEvent current_;
  std::vector<std::vector<THandle>> groups_;
  std::string cancelText_;
  std::string dialogLanguage_ = "en";
};

// The current back end. Without one installed this is a process-wide
// scripted back end, so headless code never meets a missing GUI.
TGui& Gui();
// Installs `gui` as the current back end (nullptr: back to the built-in
// scripted one) and returns the previous one. The caller keeps ownership.
TGui* SetGui(TGui* gui);

}  // namespace ork
