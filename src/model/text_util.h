// Small text helpers shared by the INI store and the list syntaxes. Texts
// are ISO-8859-1 byte strings; "blank" means any byte with code 0 to 32.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ork {

// Removes every byte with code 0..32 from both ends.
std::string Trim(std::string_view text);

// Splits at every occurrence of sep; n separators give n + 1 fields (an
// empty text gives one empty field). Fields are not trimmed.
std::vector<std::string> SplitFields(std::string_view text, char sep);

// Calls visit(field) for every field of text split at sep, in order, without
// building a vector; fields are untrimmed views into text.
template <typename Visit>
void ForEachField(std::string_view text, char sep, Visit visit) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(sep, start);
    if (end == std::string_view::npos) end = text.size();
    visit(text.substr(start, end - start));
    start = end + 1;
  }
}

// Entries of a ":" list whose enclosed entries may hold ":" in a text
// field (a label such as "Zoom: "): an entry that starts with "(" runs at
// least to the next ")"; everything else splits at every ":". Entries are
// untrimmed.
std::vector<std::string> SplitEnclosedEntries(std::string_view list);

// Field i of text split at sep, or "" when the text has fewer fields;
// untrimmed. Scans only as far as field i.
std::string FieldAt(std::string_view text, char sep, size_t i);

// True when the first byte is "(" and the last ")" (a one-byte text "(" is
// not enclosed).
bool IsEnclosed(std::string_view entry);
// The entry without its enclosing parentheses, or the entry unchanged.
std::string_view StripParens(std::string_view entry);

}  // namespace ork
