#include "model/language.h"

#include "model/latin1.h"

namespace ork {

namespace {
TLanguage g_language = TLanguage::German;
}

TLanguage UiLanguage() { return g_language; }
void SetUiLanguage(TLanguage language) { g_language = language; }

std::string Tr(const TText2& text) {
  return Latin1(g_language == TLanguage::German ? text.de : text.en);
}

}  // namespace ork
