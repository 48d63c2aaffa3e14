#include "core/settings/registry_file.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/fs/file_io.h"

namespace sorano {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
// A settings file is a few tens of kilobytes; anything beyond this is not one.
constexpr size_t kMaxFileBytes = 32u << 20;

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Control bytes other than tab never stand in a line of a sound file (binary garbage, a NUL).
bool HasControlBytes(std::string_view line) {
  for (unsigned char c : line)
    if ((c < 0x20 && c != '\t') || c == 0x7F) return true;
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// 1 to maxDigits hex digits, the whole of s.
std::optional<uint32_t> ParseHexNumber(std::string_view s, size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  uint32_t v = 0;
  for (char c : s) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  return v;
}

// A quoted text starting at s[0] == '"': the unescaped bytes and the rest after the closing quote.
// "\\" and "\"" are escapes; a backslash before anything else stands for itself.
std::optional<std::pair<std::string, std::string_view>> ParseQuoted(std::string_view s) {
  if (s.empty() || s.front() != '"') return std::nullopt;
  std::string out;
  for (size_t i = 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') return std::make_pair(std::move(out), s.substr(i + 1));
    if (c == '\\') {
      if (i + 1 >= s.size()) return std::nullopt;
      char n = s[i + 1];
      if (n == '\\' || n == '"') {
        out.push_back(n);
        ++i;
        continue;
      }
    }
    out.push_back(c);
  }
  return std::nullopt;  // no closing quote: a cut line
}

std::string Quote(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

// "a,b,c" of two-digit hex bytes, as the format writes them. Anything else (one digit, an empty
// item, a comma at the end) is what a cut or hand-mangled line looks like and is refused.
std::optional<std::string> ParseHexBytes(std::string_view s) {
  std::string out;
  s = TrimRight(TrimLeft(s));
  if (s.empty()) return out;
  while (true) {
    size_t comma = s.find(',');
    std::string_view tok = TrimRight(TrimLeft(s.substr(0, comma)));
    if (tok.size() != 2) return std::nullopt;
    std::optional<uint32_t> b = ParseHexNumber(tok, 2);
    if (!b) return std::nullopt;
    out.push_back(static_cast<char>(*b));
    if (comma == std::string_view::npos) break;
    s = s.substr(comma + 1);
  }
  return out;
}

struct ParsedValue {
  std::string name;
  bool remove = false;  // "name"=-
  RegValue value;
};

// One value line (continuations already joined): "name"=<data> or @=<data>.
std::optional<ParsedValue> ParseValueLine(std::string_view line) {
  ParsedValue pv;
  std::string_view rest;
  if (line.front() == '@') {
    rest = line.substr(1);
  } else {
    auto q = ParseQuoted(line);
    if (!q) return std::nullopt;
    pv.name = std::move(q->first);
    rest = q->second;
  }
  rest = TrimLeft(rest);
  if (rest.empty() || rest.front() != '=') return std::nullopt;
  rest = TrimRight(TrimLeft(rest.substr(1)));
  if (rest == "-") {
    pv.remove = true;
    return pv;
  }
  if (!rest.empty() && rest.front() == '"') {
    auto q = ParseQuoted(rest);
    if (!q || !TrimLeft(q->second).empty()) return std::nullopt;
    pv.value.type = RegType::Sz;
    pv.value.data = std::move(q->first);
    pv.value.data.push_back('\0');
    return pv;
  }
  if (rest.starts_with("dword:")) {
    std::string_view digits = rest.substr(6);
    std::optional<uint32_t> v = ParseHexNumber(digits, 8);
    if (!v || digits.size() != 8) return std::nullopt;  // always eight digits; fewer is a cut line
    pv.value.type = RegType::Dword;
    pv.value.data.resize(4);
    for (int i = 0; i < 4; ++i) pv.value.data[i] = static_cast<char>((*v >> (8 * i)) & 0xFF);
    return pv;
  }
  if (rest.starts_with("hex")) {
    rest.remove_prefix(3);
    pv.value.type = RegType::Binary;
    if (rest.starts_with("(")) {
      size_t close = rest.find(')');
      if (close == std::string_view::npos) return std::nullopt;
      std::optional<uint32_t> t = ParseHexNumber(rest.substr(1, close - 1), 8);
      if (!t) return std::nullopt;
      pv.value.type = static_cast<RegType>(*t);
      rest.remove_prefix(close + 1);
    }
    if (!rest.starts_with(":")) return std::nullopt;
    std::optional<std::string> bytes = ParseHexBytes(rest.substr(1));
    if (!bytes) return std::nullopt;
    pv.value.data = std::move(*bytes);
    return pv;
  }
  return std::nullopt;
}

// The line holds a hex value ("name"=hex..., @=hex...), the only kind that may go on over lines.
bool IsHexValue(std::string_view line) {
  std::string_view rest;
  if (line.front() == '@') {
    rest = line.substr(1);
  } else {
    auto q = ParseQuoted(line);
    if (!q) return false;
    rest = q->second;
  }
  rest = TrimLeft(rest);
  return rest.starts_with("=") && TrimLeft(rest.substr(1)).starts_with("hex");
}

std::string HexList(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, i == 0 ? "%02x" : ",%02x", static_cast<unsigned char>(bytes[i]));
    out += buf;
  }
  return out;
}

// A text that fits a quoted line: one terminating zero at the very end and no other control byte.
bool QuotableText(std::string_view data) {
  if (data.empty() || data.back() != '\0') return false;
  data.remove_suffix(1);
  return !HasControlBytes(data);
}

std::string ValueLine(std::string_view name, const RegValue& v) {
  std::string out = name.empty() ? std::string("@") : Quote(name);
  out += '=';
  if (v.type == RegType::Sz && QuotableText(v.data)) {
    out += Quote(std::string_view(v.data).substr(0, v.data.size() - 1));
  } else if (v.type == RegType::Dword && v.data.size() == 4) {
    uint32_t x = 0;
    for (int i = 3; i >= 0; --i) x = (x << 8) | static_cast<unsigned char>(v.data[i]);
    char buf[16];
    std::snprintf(buf, sizeof buf, "dword:%08x", x);
    out += buf;
  } else if (v.type == RegType::Binary) {
    out += "hex:" + HexList(v.data);
  } else {
    char buf[24];
    std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
    out += buf + HexList(v.data);
  }
  return out;
}

std::string ParentFolder(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash == 0 ? 1 : slash);
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
  return {};
}

}  // namespace

RegistryFile::RegistryFile(std::string path) : path_(std::move(path)) {
  // A save that a crash interrupted leaves its temporary beside the file; the file itself is whole.
  if (std::string folder = ParentFolder(path_); !folder.empty()) RemoveStaleTemporaries(folder);
  Load();
}

void RegistryFile::Load() {
  preamble_.clear();
  sections_.clear();
  loaded_.clear();
  garbled_ = unavailable_ = changed_ = false;
  if (path_.empty() || FileExists(path_, 1)) {
    unavailable_ = true;
    return;
  }
  std::optional<std::string> text = ReadWholeFile(path_, kMaxFileBytes + 1);
  if (!text) {
    // Missing is an empty registry; present but unreadable must not be overwritten blindly.
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0) unavailable_ = true;
    return;
  }
  loaded_ = *text;
  if (text->size() > kMaxFileBytes) {
    garbled_ = true;
    text->resize(kMaxFileBytes);
    size_t lastEol = text->rfind('\n');
    text->resize(lastEol == std::string::npos ? 0 : lastEol + 1);
  }
  Parse(*text);
}

void RegistryFile::Parse(std::string_view text) {
  if (text.empty()) return;  // an empty file is an empty registry
  // A last line without its line end may have been cut anywhere ("hex:12,00" of "hex:12,00,00,00"),
  // so a value on it is not trusted.
  const bool lastLineCut = !text.ends_with('\n');
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
  }

  size_t i = 0;
  std::string_view first = lines[0];
  if (first.starts_with("\xEF\xBB\xBF")) first.remove_prefix(3);
  first = TrimRight(first);
  if (first == kHeader || first == kHeader5) {
    i = 1;
  } else {
    garbled_ = true;  // read on: the header may be all that is lost
  }

  // Index of the section being read; the vector grows, so no pointers are kept across lines.
  constexpr size_t kNone = SIZE_MAX;
  size_t current = kNone;
  auto keep = [&](std::string_view raw) {
    if (current != kNone)
      sections_[current].lines.emplace_back(raw);
    else
      preamble_.emplace_back(raw);
  };

  for (; i < lines.size(); ++i) {
    std::string_view raw = lines[i];
    if (HasControlBytes(raw)) {
      garbled_ = true;
      keep(raw);
      continue;
    }
    std::string_view s = TrimLeft(raw);
    if (s.empty() || s.front() == ';') {
      keep(raw);
      continue;
    }
    if (s.front() == '[') {
      std::string_view t = TrimRight(s);
      if (t.size() < 3 || t.back() != ']') {
        garbled_ = true;
        current = kNone;  // the values that follow belong to no known key
        preamble_.emplace_back(raw);
        continue;
      }
      Section sec;
      sec.header = std::string(raw);
      std::string_view key = t.substr(1, t.size() - 2);
      if (key.front() == '-') {
        sec.deletion = true;
        key.remove_prefix(1);
        if (Section* p = Primary(key)) p->values.clear();
      }
      sec.key = std::string(key);
      sec.primary = !sec.deletion && Primary(key) == nullptr;
      sections_.push_back(std::move(sec));
      current = sections_.size() - 1;
      continue;
    }
    if (s.front() != '"' && s.front() != '@') {
      garbled_ = true;
      keep(raw);
      continue;
    }
    // A hex value may go on over lines that end in '\'.
    std::string joined(TrimRight(s));
    std::vector<std::string_view> rawLines{raw};
    bool cut = false;
    if (IsHexValue(joined)) {
      while (!joined.empty() && joined.back() == '\\') {
        joined.pop_back();
        if (i + 1 >= lines.size() || HasControlBytes(lines[i + 1])) {
          cut = true;
          break;
        }
        ++i;
        rawLines.push_back(lines[i]);
        joined += TrimRight(TrimLeft(lines[i]));
      }
    }
    if (i + 1 == lines.size() && lastLineCut) cut = true;
    for (std::string_view r : rawLines) keep(r);
    std::optional<ParsedValue> pv = cut ? std::nullopt : ParseValueLine(joined);
    if (!pv || current == kNone || sections_[current].deletion) {
      garbled_ = true;
      continue;
    }
    Section* p = Primary(sections_[current].key);
    auto it = std::find_if(p->values.begin(), p->values.end(),
                           [&](const Entry& e) { return SameText(e.name, pv->name); });
    if (pv->remove) {
      if (it != p->values.end()) p->values.erase(it);
    } else if (it != p->values.end()) {
      it->value = std::move(pv->value);
    } else {
      p->values.push_back({std::move(pv->name), std::move(pv->value)});
    }
  }
}

RegistryFile::Section* RegistryFile::Primary(std::string_view key) {
  for (Section& s : sections_)
    if (s.primary && SameText(s.key, key)) return &s;
  return nullptr;
}

const RegistryFile::Section* RegistryFile::Primary(std::string_view key) const {
  for (const Section& s : sections_)
    if (s.primary && SameText(s.key, key)) return &s;
  return nullptr;
}

bool RegistryFile::OpenKey(std::string_view key) {
  return !unavailable_ && !key.empty();
}

std::optional<RegValue> RegistryFile::Read(std::string_view key, std::string_view name) const {
  if (unavailable_) return std::nullopt;
  const Section* p = Primary(key);
  if (!p) return std::nullopt;
  for (const Entry& e : p->values)
    if (SameText(e.name, name)) return e.value;
  return std::nullopt;
}

bool RegistryFile::Write(std::string_view key, std::string_view name, const RegValue& value) {
  if (unavailable_ || key.empty()) return false;
  Section* p = Primary(key);
  if (!p) {
    Section sec;
    sec.key = std::string(key);
    sec.header = "[" + sec.key + "]";
    sec.primary = true;
    sections_.push_back(std::move(sec));
    p = &sections_.back();
  }
  p->dirty = true;
  changed_ = true;
  for (Entry& e : p->values)
    if (SameText(e.name, name)) {
      e.value = value;
      return true;
    }
  p->values.push_back({std::string(name), value});
  return true;
}

std::string RegistryFile::Render() const {
  std::string out(kHeader);
  out += kEol;
  if (preamble_.empty()) out += kEol;
  for (const std::string& l : preamble_) (out += l) += kEol;
  for (const Section& s : sections_) {
    const Section* p = s.primary ? &s : Primary(s.key);
    bool regenerate = p && p->dirty;
    if (!regenerate) {
      (out += s.header) += kEol;
      for (const std::string& l : s.lines) (out += l) += kEol;
      continue;
    }
    if (!s.primary) continue;  // its values live in the primary section, which is rewritten
    if (!out.ends_with("\r\n\r\n")) out += kEol;
    (out += s.header) += kEol;
    for (const std::string& l : s.lines)
      if (TrimLeft(l).starts_with(";")) (out += l) += kEol;
    for (const Entry& e : s.values) (out += ValueLine(e.name, e.value)) += kEol;
    out += kEol;
  }
  return out;
}

bool RegistryFile::Flush() {
  if (unavailable_) return false;
  if (!changed_ && !garbled_) return true;

  if (!garbled_ && ReadWholeFile(path_, kMaxFileBytes + 1).value_or("") != loaded_) {
    // Another process rewrote the file since it was read (another user's key, a second instance):
    // start again from what is there now and lay the keys written here over it.
    std::vector<std::pair<std::string, std::vector<Entry>>> mine;
    for (const Section& sec : sections_)
      if (sec.primary && sec.dirty) mine.emplace_back(sec.key, sec.values);
    Load();
    if (unavailable_) return false;
    for (const auto& [key, values] : mine)
      for (const Entry& e : values) Write(key, e.name, e.value);
  }

  std::string movedTo;
  if (garbled_ && FileExists(path_, 0)) {
    // Keep the unreadable file beside the new one; never overwrite an earlier one.
    std::string bad = path_ + ".bad";
    for (int n = 1; FileExists(bad, 0) || FileExists(bad, 1); ++n) {
      if (n > 99) return false;
      bad = path_ + ".bad." + std::to_string(n);
    }
    if (::rename(path_.c_str(), bad.c_str()) != 0) return false;
    movedTo = bad;
  }
  if (garbled_) {
    // The fresh file holds what could be read, each key written anew from its values.
    preamble_.clear();
    std::vector<Section> kept;
    for (Section& s : sections_) {
      if (!s.primary) continue;
      s.dirty = true;
      s.lines.clear();
      s.header = "[" + s.key + "]";
      kept.push_back(std::move(s));
    }
    sections_ = std::move(kept);
  }

  std::string folder = ParentFolder(path_);
  bool ok = folder.empty() || EnsureFolder(folder);
  std::string text = Render();
  // The file carries the proxy password: readable by its owner only.
  if (ok) ok = WriteFileAtomic(path_, text, 0600);
  if (!ok) {
    if (!movedTo.empty()) ::rename(movedTo.c_str(), path_.c_str());
    return false;
  }
  if (!movedTo.empty()) badPath_ = movedTo;
  garbled_ = false;
  changed_ = false;
  loaded_ = std::move(text);
  return true;
}

std::string RegistryFile::DefaultPath() {
  if (const char* p = std::getenv("SORANO_REGISTRY"); p && *p) return p;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    std::string base = xdg;
    if (base.back() != '/') base += '/';
    return base + "Vantor/Sorano.reg";
  }
  std::string home = HomeFolder();
  if (home.empty()) return {};
  if (home.back() != '/') home += '/';
  return home + ".config/Vantor/Sorano.reg";
}

}  // namespace sorano
