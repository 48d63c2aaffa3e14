#include "core/text/fixed_field.h"

#include <algorithm>
#include <cstring>

#include "core/text/sjis.h"

namespace sorano {

size_t SjisFitLength(std::string_view sjis, size_t fieldSize) {
  if (fieldSize == 0) return 0;
  size_t limit = std::min(sjis.size(), fieldSize - 1);
  size_t i = 0;
  while (i < limit) {
    size_t len = IsSjisLeadByte(static_cast<unsigned char>(sjis[i])) ? 2 : 1;
    if (i + len > limit) break;
    i += len;
  }
  return i;
}

void SetField(std::span<char> field, std::string_view sjis) {
  if (field.empty()) return;
  sjis = sjis.substr(0, sjis.find('\0'));  // a field's text ends at its first zero
  size_t n = SjisFitLength(sjis, field.size());
  std::memcpy(field.data(), sjis.data(), n);
  std::memset(field.data() + n, 0, field.size() - n);
}

std::string_view FieldText(std::span<const char> field) {
  const char* end = static_cast<const char*>(std::memchr(field.data(), 0, field.size()));
  return {field.data(), end ? static_cast<size_t>(end - field.data()) : field.size()};
}

}  // namespace sorano
