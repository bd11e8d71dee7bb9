// The dynamics picture window (TWindowPicture): shows DynamicsPixmap with
// the inspected point's coordinates printed below the orbit area, and lets
// the user change the orbit area's size and shifts (each a new dynamics
// computation) or hand the picture to the main picture for saving.
#pragma once

#include <memory>
#include <string>

#include "gui/gui.h"
#include "shell/shell_state.h"

namespace ork {

class TWindowPicture : public TToolWindow {
 public:
  // A window at (desktop width - size - 30, parent's y + 64), client size
  // size x (size + 72), with the size and shift fields and buttons on top.
  static std::unique_ptr<TWindowPicture> Open(int size, THandle parent);
  static void Close(std::unique_ptr<TWindowPicture>& window);
  static void Maxi(TWindowPicture* window);

  // Title T; the fields show W and the two shifts; a new panel at (0, 27)
  // of W x H shows DynamicsPixmap after "x=" + x and "y=" + y (plane
  // coordinates) were printed into its text rows; the status line tells
  // the shifts.
  void Fill(int width, int height, double x, double y, const std::string& title);
  // Cmd_Gr: DynamicsLength from its field (limited), DynamicsMode 2, the
  // orbit computed again (PostDynamicsRun). Cmd_Vs: both shifts from their
  // fields (limited), mode 2, the same. Cmd_Nimm: post 82.
  void OnEvent(const TEvent& event) override;

  THandle Handle() const override { return Window; }
  void Maxi() override;
  void Close() override;

  THandle Window = 0;
  THandle PicturePanel = 0;
  THandle TextBoxGr = 0;
  THandle Cmd_Gr = 0;
  THandle Cmd_Nimm = 0;
  THandle TextBoxVs = 0;
  THandle Cmd_Vs = 0;
  THandle TextBoxVsL = 0;
};

}  // namespace ork
