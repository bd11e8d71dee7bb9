// The points window (TWindowPoints): the final results of the inspected
// pixel (the last normal computation there) and of its last recorded
// orbit, three buttons that start a dynamics computation as points, as
// lines or as lines plus the number list, and the number list file itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/render.h"
#include "gui/gui.h"
#include "model/host.h"
#include "model/parameter.h"
#include "shell/shell_state.h"

namespace ork {

class TWindowPoints : public TToolWindow {
 public:
  // A child window of `parent` at (30, 79), client 320 x 295, every value
  // label empty.
  static std::unique_ptr<TWindowPoints> Open(THandle parent);
  // Destroys the window and empties the variable.
  static void Close(std::unique_ptr<TWindowPoints>& window);

  // Shows R's results at pixel (P.Mpox, P.Mpoy) and the orbit record
  // (DynX[0], DynY[0]). A pixel outside R's picture leaves the per-pixel
  // fields empty.
  void Fill(const TRender& render, const TParameter& keyframe);
  // Writes the number list D + F ("Output\", "ZList.txt"): the texts the
  // window shows since its last Fill, then X[i], Y[i] for i = 1 ... n - 1,
  // n = Y[0]. A missing directory is offered for creation. 1 when written,
  // 0 otherwise (the old file is then untouched).
  int Save(const std::string& directory, const std::string& file, const std::vector<double>& x,
           const std::vector<double>& y, THost& host);
  // The three buttons set DynamicsMode 1, 2, 3 and compute the orbit of
  // the picked point again, in the movie it was picked in.
  void OnEvent(const TEvent& event) override;

  THandle Handle() const override { return Window; }
  void Close() override;

  THandle Window = 0;
  const TRender* UsedRender = nullptr;  // never set
  THandle RechenwertX = 0, RechenwertY = 0;
  THandle Iterationszahl = 0, Itvon = 0;
  THandle Zyklenzahl = 0, Zykvon = 0;
  THandle Genau = 0;
  THandle Delta = 0;
  THandle BildkoordinateX = 0, BildkoordinateY = 0;
  THandle MausX = 0, MausXvon = 0;
  THandle MausY = 0, MausYvon = 0;
  THandle Cmd_Dynamik = 0, Cmd_DynamikL = 0, Cmd_Zahlenliste = 0;
};

}  // namespace ork
