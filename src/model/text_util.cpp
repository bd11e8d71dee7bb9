#include "model/text_util.h"

namespace ork {

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::vector<std::string> SplitEnclosedEntries(std::string_view list) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (start <= list.size()) {
    size_t from = start;
    if (start < list.size() && list[start] == '(') {
      const size_t close = list.find(')', start);
      if (close != std::string_view::npos) from = close;
    }
    size_t end = list.find(':', from);
    if (end == std::string_view::npos) end = list.size();
    entries.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

std::vector<std::string> SplitFields(std::string_view text, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t pos = text.find(sep, start);
    if (pos == std::string_view::npos) {
      out.emplace_back(text.substr(start));
      return out;
    }
    out.emplace_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

std::string FieldAt(std::string_view text, char sep, size_t i) {
  size_t start = 0;
  for (size_t k = 0; k < i; ++k) {
    size_t pos = text.find(sep, start);
    if (pos == std::string_view::npos) return std::string();
    start = pos + 1;
  }
  size_t end = text.find(sep, start);
  return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

bool IsEnclosed(std::string_view entry) {
  return entry.size() >= 2 && entry.front() == '(' && entry.back() == ')';
}

std::string_view StripParens(std::string_view entry) {
  return IsEnclosed(entry) ? entry.substr(1, entry.size() - 2) : entry;
}

}  // namespace ork
