#pragma once
// The registry as a REGEDIT4 text file:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Vantor\Sorano\alice]
//   "check_menu"=dword:00000001
//   "check_font_size"=hex:12,00,00,00
//   "check_font_name"="MS UI Gothic"
//
// Lines end in "\r\n" (a lone "\n" is read as well). Texts are the stored bytes as they stand
// (Shift_JIS) with '\' and '"' escaped by a '\'; a text that cannot stand on one quoted line (a line
// break or other control byte, a zero before its end) is written as hex(1): bytes. Other types are
// written as hex(<type>):. Long hex lines continued with a trailing '\' are read.
//
// The file may hold several keys; a flush rewrites only the keys written to and keeps every other
// key's lines as they stand, as they are at the time of the flush (the file is read again when
// another process changed it meanwhile). A file that is partly unreadable (garbled, truncated, binary) is
// read line by line as far as it goes; before the next flush rewrites it, it is renamed to "<path>.bad" so
// that nothing it held is lost.
#include <cstddef>
#include <string>
#include <vector>

#include "core/settings/registry_backend.h"

namespace sorano {

class RegistryFile : public RegistryBackend {
 public:
  // Reads the file now. A missing file is an empty registry.
  explicit RegistryFile(std::string path);

  bool OpenKey(std::string_view key) override;
  std::optional<RegValue> Read(std::string_view key, std::string_view name) const override;
  bool Write(std::string_view key, std::string_view name, const RegValue& value) override;
  bool Flush() override;

  const std::string& path() const { return path_; }
  // Some of the file could not be read; the next flush renames it first.
  bool garbled() const { return garbled_; }
  // The file exists but cannot be read (or no path is known): nothing is read or written.
  bool unavailable() const { return unavailable_; }
  // Where the last flush put the unreadable file, empty when none was moved.
  const std::string& bad_path() const { return badPath_; }

  // $SORANO_REGISTRY, else $XDG_CONFIG_HOME/Vantor/Sorano.reg, else ~/.config/Vantor/Sorano.reg.
  // Empty when none of these can be formed.
  static std::string DefaultPath();

 private:
  struct Entry {
    std::string name;
    RegValue value;
  };
  struct Section {
    std::string header;              // the section line as read, without its line end
    std::string key;                 // between the brackets ("-" removed for a deletion)
    bool deletion = false;           // "[-key]": removes the key read so far
    bool primary = false;            // the first section of its key: holds the key's values
    bool dirty = false;              // rewritten from `values` at the next flush
    std::vector<std::string> lines;  // the lines after the header as read
    std::vector<Entry> values;       // primary sections only: the key's values, in order
  };

  void Load();
  void Parse(std::string_view text);
  Section* Primary(std::string_view key);
  const Section* Primary(std::string_view key) const;
  std::string Render() const;

  std::string path_;
  std::string badPath_;
  std::string loaded_;                 // the file's bytes when last read or written
  std::vector<std::string> preamble_;  // lines between "REGEDIT4" and the first section
  std::vector<Section> sections_;
  bool garbled_ = false;
  bool unavailable_ = false;
  bool changed_ = false;
};

}  // namespace sorano
