// The Qt 6 Widgets back end of the GUI adapter. This header shows no Qt
// type: the program's main() creates one TQtGui, installs it with SetGui and
// runs its event loop through the TGui calls.
//
// How the calls map: windows are main windows (menu bar, toolbar and status
// line as asked; the client area is the central widget, gadgets are placed
// there at their pixel positions without layouts); Qt's signals and input
// events become queued TEvents; WaitEvent runs Qt's event loop until one is
// queued, PollEvent processes pending Qt events without blocking; the close
// box only queues WindowClose; dialogs are Qt's modal boxes. Texts are
// converted from and to ISO-8859-1 here and nowhere else.
#pragma once

#include <memory>

#include "gui/gui.h"

class QMenu;

namespace ork {

struct TQtState;

class TQtGui : public TGui {
 public:
  // Creates the QApplication unless one exists already; `argc` must stay
  // alive as long as this object (Qt keeps a reference to it).
  TQtGui(int& argc, char** argv);
  ~TQtGui() override;
  TQtGui(const TQtGui&) = delete;
  TQtGui& operator=(const TQtGui&) = delete;

  THandle CreateWindow(const std::string& title, int x, int y, int width, int height,
                       int flags, THandle parent = 0) override;
  void SetMinimumSize(THandle window, int width, int height) override;
  void MaximizeWindow(THandle window) override;
  void SetClientSize(THandle window, int width, int height) override;
  TSize ClientSize(THandle window) const override;
  TRect ClientScreenRect(THandle window) const override;
  void SetStatusText(THandle window, const std::string& text) override;
  bool StatusTextFits(THandle window, const std::string& text) const override;
  void SetDialogLanguage(const std::string& code) override;
  TSize DesktopSize() const override;

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

  // For tests: a pixel of the canvas's presented picture (0 outside).
  std::uint32_t ShownPixel(THandle canvas, int x, int y) const;

 protected:
  void Pump(bool wait) override;

 private:
  // Records a newly added menu or submenu of `window` (parent 0 for a menu
  // of the menu bar); a nonzero command is posted whenever it opens.
  THandle AddMenu(QMenu* menu, THandle window, THandle parent, int command);

  std::unique_ptr<TQtState> state_;
};

}  // namespace ork
