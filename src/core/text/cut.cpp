#include "core/text/cut.h"

namespace sorano {

void DeleteAll(std::string& text, std::string_view pattern) { ReplaceAll(text, pattern, {}); }

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  std::string out;
  size_t pos = 0;
  size_t hit = text.find(from);
  if (hit == std::string::npos) return;
  out.reserve(text.size());
  while (hit != std::string::npos) {
    out.append(text, pos, hit - pos);
    out.append(to);
    pos = hit + from.size();
    hit = text.find(from, pos);
  }
  out.append(text, pos, std::string::npos);
  text.swap(out);
}

size_t FindAfter(std::string_view text, size_t pos, std::string_view pattern) {
  if (pos > text.size()) return std::string_view::npos;
  return text.find(pattern, pos);
}

std::optional<std::string_view> Between(std::string_view text, std::string_view start, std::string_view end,
                                        size_t pos, size_t* next) {
  size_t a = FindAfter(text, pos, start);
  if (a == std::string_view::npos) return std::nullopt;
  a += start.size();
  size_t b = FindAfter(text, a, end);
  if (b == std::string_view::npos) return std::nullopt;
  if (next) *next = b + end.size();
  return text.substr(a, b - a);
}

}  // namespace sorano
