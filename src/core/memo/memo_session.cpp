#include "core/memo/memo_session.h"

#include "core/text/sjis.h"

namespace sorano {
namespace {

// The length of the first UTF-8 character of s (1 for a stray byte).
size_t Utf8Length(std::string_view s) {
  const auto b = static_cast<unsigned char>(s[0]);
  const size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  return n <= s.size() ? n : s.size();
}

// An upper bound of the file bytes of a text: no character takes more Shift_JIS bytes than UTF-8
// bytes, but a line break takes two.
size_t FileBytesBound(std::string_view utf8) {
  size_t n = utf8.size();
  for (char c : utf8) n += c == '\n';
  return n;
}

// The file bytes of one character that Shift_JIS holds: ASCII and the half-width katakana (U+FF61 to
// U+FF9F, UTF-8 EF BD A1 to EF BE 9F) take one byte, a line break two ("\r\n"), the rest two.
size_t HeldCharBytes(std::string_view ch) {
  if (ch.size() == 1) return ch[0] == '\n' ? 2 : 1;
  if (ch.size() == 3 && static_cast<unsigned char>(ch[0]) == 0xEF) {
    const unsigned v = (static_cast<unsigned char>(ch[1]) << 8) | static_cast<unsigned char>(ch[2]);
    if (v >= 0xBDA1 && v <= 0xBE9F) return 1;
  }
  return 2;
}

// Brands have codes 0..9999; a stored code outside them names no memo file.
bool HasMemo(int32_t code) {
  return code >= 0 && code <= 9999;
}

}  // namespace

std::string MemoFileBytes(std::string_view utf8) {
  std::string out;
  for (char c : Utf8ToSjis(utf8)) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

std::string MemoEditorText(std::string_view sjis) {
  std::string text = SjisToUtf8(sjis);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string FitMemoInsertion(std::string_view restUtf8, std::string_view insertedUtf8) {
  // What Shift_JIS can hold, character by character as the file will hold it.
  std::string held = SjisToUtf8(Utf8ToSjis(insertedUtf8));
  if (FileBytesBound(restUtf8) + FileBytesBound(held) <= kMemoCapacity) return held;
  const size_t restBytes = MemoFileBytes(restUtf8).size();
  if (restBytes >= kMemoCapacity) return {};
  size_t room = kMemoCapacity - restBytes;
  const std::string_view text = held;
  size_t kept = 0;
  while (kept < text.size()) {
    const size_t length = Utf8Length(text.substr(kept));
    const size_t bytes = HeldCharBytes(text.substr(kept, length));
    if (bytes > room) break;
    room -= bytes;
    kept += length;
  }
  held.resize(kept);
  return held;
}

void MemoSession::Load(const DataFolder& folder, int32_t code) {
  code_ = code;
  edited_ = false;
  text_ = HasMemo(code) ? MemoEditorText(ReadMemo(folder, code)) : std::string();
}

void MemoSession::Edit(std::string utf8) {
  text_ = std::move(utf8);
  edited_ = true;
}

bool MemoSession::Save(const DataFolder& folder) {
  if (!edited_) return true;
  const std::string bytes = MemoFileBytes(text_);
  // The editor keeps the text within the capacity; a longer one is never cut silently.
  if (!HasMemo(code_) || bytes.size() > kMemoCapacity ||
      WriteMemo(folder, bytes, code_) != static_cast<int>(bytes.size()))
    return false;
  edited_ = false;
  return true;
}

}  // namespace sorano
