// The scripted back end: the whole GUI kept in memory, for tests and for
// headless runs. It records every window, gadget and menu with geometry,
// text, state and enabling, lets a test act as the user (choose a menu item,
// press a key, drag the mouse, press a button, close a window) by queueing
// the events the toolkit would deliver, answers dialogs from prepared
// answers and records every dialog shown. Canvases draw into an in-memory
// picture, so tests can look at the presented pixels.
//
// Script errors (waiting for an event with an empty queue and no idle hook
// that adds one, a question or file chooser without prepared answer) throw
// TScriptExhausted, so a test that does not go as planned ends at once
// instead of hanging.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "gui/gui.h"
#include "gui/raster.h"

namespace ork {

class TScriptExhausted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One drawing call on a canvas, as recorded.
struct TDrawOp {
  enum class Kind { Clear, Line, Text, Pixmap };
  Kind kind = Kind::Clear;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // Pixmap: position and size in x1, y1
  std::uint32_t argb = 0;
  int lineWidth = 1;
  std::string text;
};

struct TScriptedGadget {
  THandle id = 0;
  TGadgetKind kind = TGadgetKind::None;
  THandle parent = 0;  // window or panel; 0 for a top-level window
  THandle window = 0;  // the window it lies in (a window: itself)
  TRect rect;          // as Geometry reports it; windows: outer = client
  std::string text;    // text or title
  int state = 0;
  int minimum = 0, maximum = 0;  // sliders
  bool enabled = true;
  bool visible = true;
  int flags = 0;                 // windows: kWin* flags
  TButtonKind buttonKind = TButtonKind::Normal;
  bool frame = true;             // panels
  std::vector<std::pair<std::string, std::string>> items;  // text, attached
  std::string tooltip;
  std::uint32_t textColor = 0, backColor = 0;
  bool hasTextColor = false, hasBackColor = false;
  TPointer pointer = TPointer::Arrow;
  // Windows.
  std::string statusText;
  TSize minimumSize;
  bool maximized = false;
  // Panels: the picture shown, centred in the panel (pictureX/Y is where
  // its top-left corner lies). Canvases: `picture` is the back buffer.
  TRaster picture;
  int pictureX = 0, pictureY = 0;
  // Canvases: the picture last presented, the calls since the last clear
  // and those of the presented frame, the number of presents, and the
  // last picture drawn with its position and size.
  TRaster shown;
  std::vector<TDrawOp> ops, presentedOps;
  int presents = 0;
  std::vector<std::uint32_t> lastPixmap;
  int lastPixmapX = 0, lastPixmapY = 0, lastPixmapWidth = 0, lastPixmapHeight = 0;
  // Toolbars: per button tooltip and command; the file it came from.
  std::vector<std::pair<std::string, int>> buttons;
  std::string sourceFile;
  std::vector<THandle> children;
};

struct TScriptedMenu {
  THandle id = 0;
  THandle window = 0;
  THandle parent = 0;  // 0 for a top-level menu
  std::string text;
  int command = 0;
  bool isMenu = false;
  bool separator = false;
  bool enabled = true;
  bool checked = false;
  std::vector<THandle> children;
};

struct TDialogRecord {
  enum class Kind { Message, Question, File, Url };
  Kind kind = Kind::Message;
  std::string title;
  std::string text;  // message, question, file chooser title, address
  std::string path, pattern;
  bool save = false;
  bool answer = true;       // questions
  std::string fileAnswer;   // file choosers
};

class TScriptedGui : public TGui {
 public:
  TScriptedGui() = default;

  // ---- Looking at what was built ------------------------------------------
  const TScriptedGadget* Gadget(THandle handle) const;
  const TScriptedMenu* Menu(THandle handle) const;
  // Open windows in the order of creation.
  std::vector<THandle> Windows() const;
  // The first open window whose title is `title`, or 0.
  THandle FindWindow(const std::string& title) const;
  // The first gadget below `within` (a window or panel; 0: anywhere) of
  // `kind` (None: any) whose text is `text`, in creation order; 0 if none.
  THandle FindGadget(THandle within, TGadgetKind kind, const std::string& text) const;
  // All gadgets below `within` of `kind`, in creation order.
  std::vector<THandle> FindGadgets(THandle within, TGadgetKind kind) const;
  // The top-level menus of a window, left to right.
  std::vector<THandle> TopMenus(THandle window) const;
  // True when the item can be chosen: it and every menu above it enabled.
  bool MenuChoosable(THandle item) const;
  THandle Focus() const { return focus_; }
  THandle ActiveWindow() const { return active_; }
  TPointer ProgramPointer() const { return programPointer_; }
  const std::vector<TDialogRecord>& Dialogs() const { return dialogs_; }
  // Texts of the message boxes shown so far, in order.
  std::vector<std::string> Messages() const;
  // A pixel of the canvas's presented picture (0 outside).
  std::uint32_t ShownPixel(THandle canvas, int x, int y) const;
  void SetDesktopSize(int width, int height) { desktop_ = {width, height}; }

  // ---- Preparing dialog answers -------------------------------------------
  void AnswerQuestion(bool ok) { questionAnswers_.push_back(ok); }
  // A file chooser's answer; empty means Cancel.
  void AnswerFile(const std::string& path) { fileAnswers_.push_back(path); }
  // Whether OpenUrl finds a web browser (it does unless told otherwise).
  void SetBrowserPresent(bool present) { browserPresent_ = present; }
  size_t UnusedAnswers() const { return questionAnswers_.size() + fileAnswers_.size(); }
  // Called whenever WaitEvent finds the queue empty; it may act as the user
  // (for example press a button of a dialog that just opened).
  void SetIdleHook(std::function<void(TScriptedGui&)> hook) { idle_ = std::move(hook); }

  // ---- Acting as the user ---------------------------------------------------
  // Each queues what the toolkit would deliver and first updates the state
  // the toolkit would change. Actions on disabled or hidden gadgets, on
  // gadgets of disabled windows or on disabled menus do nothing and return
  // false, as a user could not do them either.
  bool ChooseMenu(THandle window, int command);
  // Opens a top-level menu or submenu (queues its command when it has one).
  bool OpenMenu(THandle menu);
  // A push button is pressed, a check box toggled.
  bool Click(THandle gadget);
  bool PressToolbar(THandle toolbar, int index);
  // Replaces a text field's text (TextChanged), then optionally Return.
  bool TypeText(THandle field, const std::string& text, bool pressReturn = false);
  // The focus leaves a text field (FocusLost).
  bool LeaveField(THandle field);
  bool SelectItem(THandle list, int index);
  bool MoveSlider(THandle slider, int position);
  // Keys; source 0 means the focused gadget, or the active window when no
  // gadget has the focus.
  void KeyDown(int key, THandle source = 0, bool repeat = false, int modifiers = 0);
  void KeyUp(int key, THandle source = 0, int modifiers = 0);
  void KeyPress(int key, THandle source = 0) {
    KeyDown(key, source);
    KeyUp(key, source);
  }
  void MouseMove(THandle source, int x, int y, int buttons = 0);
  void MouseDown(THandle source, int x, int y, int button = kMouseLeft);
  void MouseUp(THandle source, int x, int y, int button = kMouseLeft);
  void MouseEnter(THandle source);
  void MouseLeave(THandle source);
  void CloseBox(THandle window);
  // The user resizes a window to a new client size (WindowSize).
  void ResizeWindow(THandle window, int width, int height);
  void DropFile(THandle window, const std::string& path);
  void ActivateWindow(THandle window);

  // ---- TGui -----------------------------------------------------------------
  THandle CreateWindow(const std::string& title, int x, int y, int width, int height,
                       int flags, THandle parent = 0) override;
  void SetMinimumSize(THandle window, int width, int height) override;
  void MaximizeWindow(THandle window) override;
  void SetClientSize(THandle window, int width, int height) override;
  TSize ClientSize(THandle window) const override;
  TRect ClientScreenRect(THandle window) const override;
  void SetStatusText(THandle window, const std::string& text) override;
  TSize DesktopSize() const override { return desktop_; }

  THandle CreateMenu(THandle window, const std::string& text, int command = 0) override;
  THandle CreateSubMenu(THandle menu, const std::string& text, int command = 0) override;
  THandle AddMenuItem(THandle menu, const std::string& text, int command) override;
  void EnableMenu(THandle menuOrItem, bool enabled) override;
  void CheckMenuItem(THandle item, bool checked) override;
  bool MenuItemChecked(THandle item) const override;
  bool MenuEnabled(THandle menuOrItem) const override;
  THandle FindMenuItem(THandle window, int command) const override;
  std::string MenuText(THandle menuOrItem) const override;

  THandle CreateToolbar(THandle window, const std::uint32_t* argb, int width,
                        int height) override;
  THandle CreateToolbarFromFile(THandle window, const std::string& pngPath) override;
  void SetToolbarButton(THandle toolbar, int index, const std::string& tooltip,
                        int command) override;
  int ToolbarButtonCount(THandle toolbar) const override;
  int ToolbarCommand(THandle toolbar, int index) const override;

  THandle CreatePanel(THandle parent, int x, int y, int width, int height,
                      const std::string& title, bool frame = true) override;
  THandle CreateLabel(THandle parent, int x, int y, int width, int height,
                      const std::string& text) override;
  THandle CreateTextField(THandle parent, int x, int y, int width, int height,
                          const std::string& text = "") override;
  THandle CreateButton(THandle parent, int x, int y, int width, int height,
                       const std::string& text,
                       TButtonKind kind = TButtonKind::Normal) override;
  THandle CreateCheckBox(THandle parent, int x, int y, int width, int height,
                         const std::string& text, bool checked = false) override;
  THandle CreateListBox(THandle parent, int x, int y, int width, int height) override;
  THandle CreateComboBox(THandle parent, int x, int y, int width, int height) override;
  THandle CreateSlider(THandle parent, int x, int y, int width, int height, int minimum,
                       int maximum) override;
  THandle CreateCanvas(THandle parent, int x, int y, int width, int height) override;

  void Destroy(THandle handle) override;
  TGadgetKind KindOf(THandle handle) const override;
  THandle WindowOf(THandle handle) const override;
  void SetText(THandle handle, const std::string& text) override;
  std::string GetText(THandle handle) const override;
  void SetState(THandle handle, int state) override;
  int GetState(THandle handle) const override;
  void SetRange(THandle slider, int minimum, int maximum) override;
  void EnableGadget(THandle handle, bool enabled) override;
  bool GadgetEnabled(THandle handle) const override;
  void ShowGadget(THandle handle, bool visible) override;
  void ResizeGadget(THandle handle, int x, int y, int width, int height) override;
  TRect Geometry(THandle handle) const override;
  void SetFocus(THandle handle) override;
  void SetToolTip(THandle handle, const std::string& text) override;
  void SetTextColor(THandle handle, std::uint32_t argb) override;
  void SetBackColor(THandle handle, std::uint32_t argb) override;
  void SetPointer(THandle handle, TPointer pointer) override;

  void AddItem(THandle list, const std::string& text,
               const std::string& attached = "") override;
  void ClearItems(THandle list) override;
  int ItemCount(THandle list) const override;
  std::string ItemText(THandle list, int index) const override;
  std::string ItemAttached(THandle list, int index) const override;

  void SetPanelPixmap(THandle panel, const std::uint32_t* argb, int width,
                      int height) override;

  void CanvasClear(THandle canvas, std::uint32_t argb) override;
  void CanvasLine(THandle canvas, int x0, int y0, int x1, int y1, std::uint32_t argb,
                  int lineWidth = 1) override;
  void CanvasText(THandle canvas, int x, int y, const std::string& text,
                  std::uint32_t argb) override;
  void CanvasPixmap(THandle canvas, int x, int y, const std::uint32_t* argb, int width,
                    int height) override;
  void CanvasPresent(THandle canvas) override;

  void MessageBox(const std::string& title, const std::string& text) override;
  bool Question(const std::string& title, const std::string& text) override;
  std::string FileRequester(const std::string& title, const std::string& path,
                            const std::string& pattern, bool save) override;
  bool OpenUrl(const std::string& url) override;

 protected:
  void Pump(bool wait) override;

 private:
  TScriptedGadget* Find(THandle handle);
  const TScriptedGadget* FindConst(THandle handle) const;
  TScriptedGadget* FindKind(THandle handle, TGadgetKind kind);
  TScriptedMenu* FindMenu(THandle handle);
  THandle AddGadget(TGadgetKind kind, THandle parent, int x, int y, int width, int height,
                    const std::string& text);
  THandle AddMenu(THandle window, THandle parent, const std::string& text, int command,
                  bool isMenu);
  void DestroyMenu(THandle menu);
  // Enabled and visible, with every parent and the window.
  bool Usable(THandle handle) const;
  void Queue(TEventKind kind, THandle source, int data = 0, const std::string& text = "");
  void QueueMouse(TEventKind kind, THandle source, int x, int y, int buttons);
  void QueueSize(THandle window);
  THandle KeySource(THandle source) const;
  void CollectGadgets(THandle within, TGadgetKind kind, std::vector<THandle>& out) const;

  THandle next_ = 1;
  std::map<THandle, TScriptedGadget> gadgets_;
  std::map<THandle, TScriptedMenu> menus_;
  std::vector<THandle> windowOrder_;
  THandle focus_ = 0;
  THandle active_ = 0;
  TPointer programPointer_ = TPointer::Arrow;
  TSize desktop_{1920, 1080};
  std::vector<TDialogRecord> dialogs_;
  std::deque<bool> questionAnswers_;
  std::deque<std::string> fileAnswers_;
  bool browserPresent_ = true;
  std::function<void(TScriptedGui&)> idle_;
};

}  // namespace ork
