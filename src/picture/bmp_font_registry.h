// The three fonts pictures are printed with: index 0 "BMPFont\Arial12.bmp",
// 1 "BMPFont\Arial24.bmp", 2 "BMPFont\Arial36.bmp" below the working
// directory, loaded once at start and released at the end.
#pragma once

#include <string>

#include "picture/bmp_font.h"

namespace ork {

inline constexpr int kBMPFontCount = 3;

// The program path of font `index` (0-2), e.g. "BMPFont\Arial24.bmp".
std::string BMPFontPath(int index);

// Loads the three fonts from the working directory (replacing loaded ones).
// A font whose files are missing draws nothing. Returns how many of the
// three have glyphs.
int LoadBMPFonts();
void ReleaseBMPFonts();

// Font `index` (limited to 0-2). Before LoadBMPFonts and after
// ReleaseBMPFonts this is an empty font that draws nothing, so callers
// need not check.
TBMPFont& BMPFont(int index);

// The fonts for the lifetime of one program run: loaded from the working
// directory on construction, released on destruction. The desktop
// program's entry and the headless renderer hold one each, so pictures
// print their texts and grid numbers alike.
class TBMPFontsLoaded {
 public:
  TBMPFontsLoaded() { LoadBMPFonts(); }
  ~TBMPFontsLoaded() { ReleaseBMPFonts(); }
  TBMPFontsLoaded(const TBMPFontsLoaded&) = delete;
  TBMPFontsLoaded& operator=(const TBMPFontsLoaded&) = delete;
};

// The font for a picture of `pictureHeight` rows: n = Int(H / 360 * 24);
// n <= 18 gives 0, n > 36 gives 2, otherwise 1 (H < 285: 0, H >= 555: 2).
int FontIndexForHeight(int pictureHeight);

}  // namespace ork
