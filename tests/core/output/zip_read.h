#pragma once
// Reads one member of a zip archive (stored or deflated), enough to look inside an .xlsx.
#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sorano::test {

inline uint32_t Le(std::string_view b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
  return v;
}

// The member's bytes, or nullopt when the archive has no such member or cannot be read.
inline std::optional<std::string> ZipMember(std::string_view zip, std::string_view name) {
  if (zip.size() < 22) return std::nullopt;
  size_t end = zip.size() - 22;
  while (Le(zip, end, 4) != 0x06054b50) {
    if (end == 0) return std::nullopt;
    --end;
  }
  size_t at = Le(zip, end + 16, 4);
  for (uint32_t n = Le(zip, end + 10, 2); n > 0 && at + 46 <= zip.size(); --n) {
    const uint32_t method = Le(zip, at + 10, 2), packed = Le(zip, at + 20, 4), size = Le(zip, at + 24, 4);
    const uint32_t nameLen = Le(zip, at + 28, 2), extra = Le(zip, at + 30, 2), comment = Le(zip, at + 32, 2);
    const uint32_t local = Le(zip, at + 42, 4);
    if (zip.substr(at + 46, nameLen) == name) {
      const size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
      if (data + packed > zip.size()) return std::nullopt;
      if (method == 0) return std::string(zip.substr(data, packed));
      std::string out(size, '\0');
      z_stream z{};
      if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return std::nullopt;
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
      z.avail_in = packed;
      z.next_out = reinterpret_cast<Bytef*>(out.data());
      z.avail_out = size;
      const int rc = inflate(&z, Z_FINISH);
      inflateEnd(&z);
      if (rc != Z_STREAM_END) return std::nullopt;
      return out;
    }
    at += 46 + nameLen + extra + comment;
  }
  return std::nullopt;
}

}  // namespace sorano::test
