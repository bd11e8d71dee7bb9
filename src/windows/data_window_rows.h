// The rows of the keyframe data windows: which key each of the 34 rows
// shows, which marks it can carry, the value text shown for a keyframe and
// the rule that stores an edited text back into the keyframe.
#pragma once

#include <string>
#include <string_view>

#include "model/parameter.h"

namespace ork {

inline constexpr int kDataRows = 34;  // rows 1..34; the row is the key's
                                      // parameter number, 16 and 17 exchanged

struct TDataRow {
  const char* key;
  bool marks;    // "+" and "*" check boxes
  bool textBox;  // text-output check box
};

// Row 1..kDataRows; any other row gives a row without key.
const TDataRow& DataRow(int row);
// The row showing `key`, 0 when none does.
int DataRowOf(std::string_view key);

// The value of the row's key as the field shows it: integers in decimal,
// reals in the 17-digit file form, texts unchanged.
std::string DataRowValue(const TParameter& key, int row);

// How the two movie variants differ when storing.
struct TStoreRules {
  bool clampJulia = false;      // "JuliaSet" above 1 stored as 1
  bool clampCycleTest = false;  // "CycleTest" above 64 stored as 64
};

// What the window must show again after a store.
struct TStoreEffect {
  bool showWidth = false;        // "WidthX" changed with the height
  bool showHeight = false;       // "HeightY" changed with the width
  bool emptyLineFields = false;  // "LinesColor" and "LinesThickness" fields
};

// Stores the text `text` of the row showing `keyName` into `key`. The
// keyframe's OutputWidth and OutputHeight must be the movie's; a size of 0
// leaves the other plane side as it is. Keeps brx = bry * OutputWidth /
// OutputHeight, vsp = vsx, vst = vsy and the derived colour, overlay and
// grid values. An unknown name stores nothing.
TStoreEffect StoreDataRow(TParameter& key, std::string_view keyName, const std::string& text,
                          const TStoreRules& rules);

}  // namespace ork
