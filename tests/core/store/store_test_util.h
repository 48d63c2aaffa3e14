#pragma once
// Hand-written bytes for the file tests: hex text, spaces ignored ("d3070000 0c000000").
#include <cctype>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sorano::test {

inline std::string Hex(std::string_view hex) {
  std::string out;
  int hi = -1;
  for (char c : hex) {
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
    if (v < 0 || v > 15) throw std::invalid_argument("bad hex digit");
    if (hi < 0) {
      hi = v;
    } else {
      out.push_back(static_cast<char>(hi * 16 + v));
      hi = -1;
    }
  }
  if (hi >= 0) throw std::invalid_argument("odd number of hex digits");
  return out;
}

}  // namespace sorano::test
