// The preview window (TWindowPreview) and the Julia window (TWindowJulia):
// small top-level windows that compute a movie's current keyframe with a
// render object of their own, at a reduced size (preview) or as the Julia
// set of its constant C (Julia), without touching the main picture. The
// keyframe's output size and Julia flag are changed only while computing.
#pragma once

#include <memory>
#include <string>

#include "engine/render.h"
#include "gui/gui.h"
#include "model/movie.h"
#include "model/process_state.h"
#include "shell/shell_state.h"

namespace ork {

// While a preview, Julia or dynamics picture is made: CompositionMode is
// -1000 (no overlays, no printed texts), no dynamics mode is in force, and
// afterwards the composition state of the main picture (CompositionMode,
// ShownImage, KeepLeftPicture) and DynamicsMode are as before.
class TSmallPictureFrame {
 public:
  TSmallPictureFrame();
  ~TSmallPictureFrame();
  TSmallPictureFrame(const TSmallPictureFrame&) = delete;
  TSmallPictureFrame& operator=(const TSmallPictureFrame&) = delete;

 private:
  TCompositionState composition_;
  int dynamicsMode_;
};

class TWindowPreview : public TToolWindow {
 public:
  // kind 0 Movie 1, 1 Movie 2, 2 a history movie; number 1 ... 4. At
  // (max(desktop width / 2 - 300 + 50 * number, 10), parent's y + 50 +
  // 20 * kind), client 32 x 32 until the first Fill.
  static std::unique_ptr<TWindowPreview> Open(int kind, int number, THandle parent);
  static void Close(std::unique_ptr<TWindowPreview>& window);
  static void Maxi(TWindowPreview* window);

  // Computes M's current keyframe with its longer side `size` pixels and
  // shows it; the window takes the picture's client size and the title
  // T + "    " + size + " Pixel". Returns false when the user cancelled
  // (status "Abgebrochen"; the part computed stays shown) or the movie has
  // no keyframe.
  bool Fill(TParameterAnim& movie, int size, const std::string& title);
  // A movie that lives only for this window (a history movie): kept until
  // the window closes.
  void KeepMovie(std::unique_ptr<TParameterAnim> movie) { OwnMovie = std::move(movie); }
  void OnEvent(const TEvent&) override {}

  THandle Handle() const override { return Window; }
  void Maxi() override;
  void Close() override;
  const TRender* Render() const { return Render_.get(); }

  THandle Window = 0;
  THandle PreviewPanel = 0;
  const TParameterAnim* UsedAnim = nullptr;  // the movie last filled in (not owned)
  int Bildfolge = 1;
  std::unique_ptr<TParameterAnim> OwnMovie;

 private:
  std::unique_ptr<TRender> Render_;
};

class TWindowJulia : public TToolWindow {
 public:
  // kind 0 Movie 1, 1 Movie 2; number 1 ... 4; width x height the Julia
  // picture. The window is width x (height + 60) with the Accept button and
  // the two C fields (labelled "Cx=", "Cy=" when height > 100).
  static std::unique_ptr<TWindowJulia> Open(int kind, int number, int width, int height,
                                            THandle parent);
  static void Close(std::unique_ptr<TWindowJulia>& window);
  static void Maxi(TWindowJulia* window);

  // Computes M's current keyframe at width x height as the Julia set of
  // its C; its Julia flag and output size are as before afterwards.
  bool Fill(TParameterAnim& movie, int width, int height, const std::string& title);
  // Accept: C of the movie's current keyframe from the two fields; asks
  // whether to copy it into Movie 1 and posts 10 on OK.
  void OnEvent(const TEvent& event) override;

  THandle Handle() const override { return Window; }
  void Maxi() override;
  void Close() override;
  const TRender* Render() const { return Render_.get(); }
  // The movie the window shows, looked up afresh (the shell may have
  // replaced it since the last Fill): Movie 1 or Movie 2 by Bildfolge.
  TParameterAnim* UsedAnim() const;

  THandle Window = 0;
  THandle JuliaPanel = 0;
  THandle TextBoxCx = 0, TextBoxCy = 0;
  THandle Cmd_Nimm = 0;
  int Bildfolge = 1;
  int PictureWidth = 0, PictureHeight = 0;  // the size Open laid the window out for

 private:
  std::unique_ptr<TRender> Render_;
};

}  // namespace ork
