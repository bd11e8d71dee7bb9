// The picture format window: edits one movie's output header (picture width
// and height in pixels, output file name), offers a menu of common picture
// sizes and shows the movie's credit texts. It changes only OutputWidth,
// OutputHeight and FileName; the keyframes follow when the shell next
// prepares a picture. The movie is not owned; the window reaches it by its
// place (Movie 1 or Movie 2), and a field left without a change stores
// nothing.
#pragma once

#include <memory>
#include <string>

#include "gui/gui.h"
#include "model/movie.h"
#include "shell/shell_state.h"

namespace ork {

// One item of the quick-size menu.
struct TQuickSize {
  const char* group;  // submenu "4:3", "5:4", "16:9"
  const char* text;   // UTF-8
  int width, height;
};
inline constexpr TQuickSize kQuickSizes[] = {
    {"4:3", "Youtube / 480 x 360", 480, 360},
    {"4:3", "Youtube halbe Größe / 240 x 180", 240, 180},
    {"4:3", "Pocket PC / 320 x 240", 320, 240},
    {"4:3", "VGA / 640 x 480", 640, 480},
    {"4:3", "PAL / 768 x 576", 768, 576},
    {"5:4", "Poster / 3600 x 2880", 3600, 2880},
    {"16:9", "Youtube / 640 x 360", 640, 360},
    {"16:9", "Youtube halbe Größe / 320 x 180", 320, 180},
    {"16:9", "Playstation 3 / 1920 x 1080", 1920, 1080},
    {"16:9", "XBOX 360 / 1280 x 720", 1280, 720},
    {"16:9", "HD / 1280 x 720", 1280, 720},
    {"16:9", "Full HD / 1920 x 1080", 1920, 1080},
};
inline constexpr int kQuickSizeCount = sizeof(kQuickSizes) / sizeof(kQuickSizes[0]);
// Item i of kQuickSizes carries the menu command kQuickSizeCommand + i; the
// shell's dispatcher knows no such number, so the choice only reaches this
// window.
inline constexpr int kQuickSizeCommand = 2101;

class TWindowOutputParameter : public TToolWindow {
 public:
  // The window with every gadget and the size menu (title "..." until Fill).
  static std::unique_ptr<TWindowOutputParameter> Open(THandle parent);

  THandle Handle() const override { return Window; }
  void OnEvent(const TEvent& event) override;
  void Close() override;
  // Shows the size and name again when they changed behind the window (a
  // movie loaded, exchanged or taken from the history); a field with an
  // edit not stored yet keeps the typed text.
  void Sync() override;

  void Fill(const std::string& title, TParameterAnim& movie);
  // Shows both numbers and stores them as the movie's output size.
  void SetWidthHeight(int width, int height);
  // Handles one event; 1 when "OK" destroyed the window (the slot is then
  // emptied and this object deleted), else 0.
  int HandleEvent(const TEvent& event);
  TParameterAnim* LiveMovie() const;

  THandle Window = 0;
  TMovieRef UsedAnim;  // the movie edited, by its place (not owned)
  THandle TextBoxWidth = 0, TextBoxHeight = 0, TextBoxFileName = 0;
  THandle LabPath = 0;  // never created
  THandle LabWeb = 0, LabEmail = 0, LabAuthor = 0, LabUser = 0;
  THandle Cmd_Exit = 0;

 private:
  // Sets a field and remembers the text as shown, so that an unchanged
  // field is known when it loses the focus.
  void Show(THandle field, const std::string& text);
  std::string& ShownText(THandle field);
  std::string shownWidth_, shownHeight_, shownName_, noField_;
};

}  // namespace ork
