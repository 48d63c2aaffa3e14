#include "core/lists/folder_book.h"

#include <algorithm>
#include <memory>
#include <string>

#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

constexpr int32_t kHighestCode = 9999;

std::string FolderFile(const DataFolder& folder) {
  return folder.Path("data/mybrand.dat");
}

// A name as the file keeps it: "," would split the line (it becomes the full-width "，") and a line
// break would end it.
std::string FileName(std::string_view utf8) {
  std::string sjis;
  for (char c : Utf8ToSjis(utf8)) {
    if (c == '\r' || c == '\n' || c == '\0') continue;  // a zero would end the name in its field
    sjis.push_back(c);
  }
  // Trail bytes of two-byte characters are never ','; only a single-byte ',' is replaced.
  std::string out;
  for (size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (IsSjisLeadByte(b) && i + 1 < sjis.size()) {
      out.append(sjis, i, 2);
      ++i;
    } else if (b == ',') {
      out.append("\x81\x43");
    } else {
      out.push_back(sjis[i]);
    }
  }
  return out;
}

}  // namespace

std::span<const int32_t> FolderCodes(const BrandFolder& f) {
  const auto end = std::find(std::begin(f.codes), std::end(f.codes), 0);
  return {std::begin(f.codes), end};
}

int FolderBook::Load(const DataFolder& folder, Prompt& prompt) {
  table_ = FolderTable{};
  const int read = LoadFolders(folder, table_, prompt);
  stamp_ = StampOf(FolderFile(folder));
  return read;
}

bool FolderBook::ChangedOnDisk(const DataFolder& folder) const {
  return StampOf(FolderFile(folder)) != stamp_;
}

int32_t FolderBook::Count() const {
  int32_t n = 0;
  while (n < static_cast<int32_t>(kFolderCount) && Used(n)) ++n;
  return n;
}

bool FolderBook::Used(int32_t slot) const {
  return slot >= 0 && slot < static_cast<int32_t>(kFolderCount) &&
         table_[static_cast<size_t>(slot)].name[0] != '\0';
}

bool FolderBook::UpToDate(const DataFolder& folder, Prompt& prompt) {
  if (!ChangedOnDisk(folder)) return true;
  Load(folder, prompt);
  prompt.Message(kMsgFolderFileChanged, kCaptionNotice, PromptIcon::Information);
  return false;
}

FolderResult FolderBook::Apply(const DataFolder& folder, Prompt& prompt,
                               const std::function<void()>& change) {
  const auto before = std::make_unique<FolderTable>(table_);
  change();
  // Every named slot is written, also one behind a slot a hand edit left empty.
  int last = -1;
  for (int i = 0; i < static_cast<int>(kFolderCount); ++i)
    if (table_[static_cast<size_t>(i)].name[0] != '\0') last = i;
  if (SaveFolders(folder, table_, last, prompt) != 1) {
    table_ = *before;
    return FolderResult::kFailed;
  }
  stamp_ = StampOf(FolderFile(folder));
  return FolderResult::kDone;
}

FolderResult FolderBook::Create(const DataFolder& folder, Prompt& prompt, int32_t* slot) {
  if (!UpToDate(folder, prompt)) return FolderResult::kReloaded;
  const int32_t free = Count();
  if (free >= static_cast<int32_t>(kFolderCount)) {
    prompt.Message(kMsgTooManyFolders, kCaptionWarning, PromptIcon::Warning);
    return FolderResult::kRefused;
  }
  const FolderResult r = Apply(folder, prompt, [&] {
    BrandFolder& f = table_[static_cast<size_t>(free)];
    f = BrandFolder{};
    SetField(f.name, Utf8ToSjis(kNewFolderName));
  });
  if (r == FolderResult::kDone && slot != nullptr) *slot = free;
  return r;
}

FolderResult FolderBook::Rename(const DataFolder& folder, Prompt& prompt, int32_t slot,
                                std::string_view utf8) {
  if (!UpToDate(folder, prompt)) return FolderResult::kReloaded;
  if (!Used(slot)) return FolderResult::kRefused;
  const std::string name = FileName(utf8);
  if (name.empty()) {
    prompt.Message(kMsgEmptyFolderName, kCaptionWarning, PromptIcon::Warning);
    return FolderResult::kRefused;
  }
  return Apply(folder, prompt, [&] { SetField(table_[static_cast<size_t>(slot)].name, name); });
}

FolderResult FolderBook::Remove(const DataFolder& folder, Prompt& prompt, int32_t slot) {
  if (!UpToDate(folder, prompt)) return FolderResult::kReloaded;
  if (!Used(slot)) return FolderResult::kRefused;
  return Apply(folder, prompt, [&] {
    std::move(table_.begin() + slot + 1, table_.end(), table_.begin() + slot);
    table_.back() = BrandFolder{};
  });
}

FolderResult FolderBook::AddCode(const DataFolder& folder, Prompt& prompt, int32_t slot, int32_t code) {
  if (!UpToDate(folder, prompt)) return FolderResult::kReloaded;
  if (!Used(slot)) return FolderResult::kRefused;
  BrandFolder& f = table_[static_cast<size_t>(slot)];
  const auto codes = FolderCodes(f);
  std::string_view refusal;
  if (code < 1 || code > kHighestCode)
    refusal = kMsgBadCode;
  else if (std::find(codes.begin(), codes.end(), code) != codes.end())
    refusal = kMsgCodeInFolder;
  else if (codes.size() >= kFolderCodes)
    refusal = kMsgFolderFull;
  if (!refusal.empty()) {
    prompt.Message(refusal, kCaptionWarning, PromptIcon::Warning);
    return FolderResult::kRefused;
  }
  return Apply(folder, prompt, [&] { f.codes[codes.size()] = code; });
}

FolderResult FolderBook::RemoveCodes(const DataFolder& folder, Prompt& prompt, int32_t slot,
                                     std::span<const int> positions) {
  if (!UpToDate(folder, prompt)) return FolderResult::kReloaded;
  if (!Used(slot)) return FolderResult::kRefused;
  BrandFolder& f = table_[static_cast<size_t>(slot)];
  const size_t count = FolderCodes(f).size();
  std::array<bool, kFolderCodes> drop{};
  bool any = false;
  for (int p : positions) {
    if (p < 0 || static_cast<size_t>(p) >= count) continue;
    drop[static_cast<size_t>(p)] = true;
    any = true;
  }
  if (!any) return FolderResult::kRefused;
  return Apply(folder, prompt, [&] {
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i)
      if (!drop[i]) f.codes[kept++] = f.codes[i];
    std::fill(std::begin(f.codes) + static_cast<std::ptrdiff_t>(kept), std::end(f.codes), 0);
  });
}

FolderResult FolderBook::Reorder(const DataFolder& folder, Prompt& prompt, int32_t slot,
                                 std::span<const int32_t> codes) {
  if (!UpToDate(folder, prompt)) return FolderResult::kReloaded;
  if (!Used(slot)) return FolderResult::kRefused;
  BrandFolder& f = table_[static_cast<size_t>(slot)];
  const auto current = FolderCodes(f);
  if (current.size() != codes.size() || !std::is_permutation(codes.begin(), codes.end(), current.begin()))
    return FolderResult::kRefused;
  if (std::equal(codes.begin(), codes.end(), current.begin())) return FolderResult::kDone;
  return Apply(folder, prompt, [&] { std::copy(codes.begin(), codes.end(), std::begin(f.codes)); });
}

}  // namespace sorano
