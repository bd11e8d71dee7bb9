// The user-interface language, chosen once at start-up from the settings,
// and the two-language text pairs. Each subsystem keeps its texts in its
// own texts header as TText2 constants; Tr() picks the chosen language.
#pragma once

#include <string>

namespace ork {

enum class TLanguage { German = 0, English = 1 };

struct TText2 {
  const char* de;  // UTF-8 literal
  const char* en;  // UTF-8 literal
};

TLanguage UiLanguage();
void SetUiLanguage(TLanguage language);
inline bool IsGerman() { return UiLanguage() == TLanguage::German; }

// The text in the chosen language as an ISO-8859-1 string.
std::string Tr(const TText2& text);

}  // namespace ork
