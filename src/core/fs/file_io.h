#pragma once
// Files and folders. Every file the program rewrites whole goes through WriteFileAtomic, so that a
// crash, a full disk or a cancelled job leaves either the old or the new file, never a short one.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sorano {

// 1 when path names an existing directory (wantDirectory != 0) or an existing non-directory
// (wantDirectory == 0); 0 otherwise.
int FileExists(const std::string& path, int wantDirectory);

// Creates the folder and its parents when missing. True when it exists afterwards.
bool EnsureFolder(const std::string& path);

// Reads at most maxBytes from the start of the file; nullopt when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = SIZE_MAX);

// Reads the start of the file straight into `out` in whole units of `unit` bytes (the records of a
// table): at most out.size() bytes, and a unit the file does not hold whole (a short file, a failed
// read) keeps its bytes as they were. The number of bytes read, or -1 when the file cannot be opened.
int64_t ReadRecordsInto(const std::string& path, std::span<char> out, size_t unit);

// What tells one version of a file from another: its identity (device and inode: an atomic rewrite makes
// a new one), size and modification time. Two stamps are equal when nothing has replaced or changed the
// file in between.
struct FileStamp {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  long long size = 0;
  long long modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};
// The stamp of an existing file; nullopt when there is none (or it is a folder).
std::optional<FileStamp> StampOf(const std::string& path);

// Writes data to a temporary file in the same folder ("<path>.tmp<pid>-XXXXXX"), flushes it to disk and
// renames it over path. The new file gets the permission bits `mode` (data files 0644; files with
// secrets 0600). False (and the old file untouched, the temporary removed) on any failure, a full disk
// or a file-size limit among them.
bool WriteFileAtomic(const std::string& path, std::string_view data, unsigned mode = 0644);

// Removes the temporaries of WriteFileAtomic in folder that a process left behind when it was killed
// mid-write: those whose process no longer runs, and those named after this process, which must not be
// writing yet (call it at start). Returns how many were removed.
int RemoveStaleTemporaries(const std::string& folder);

// An advisory lock on a folder (flock), held from construction to destruction, shared or exclusive.
// Writers of files that belong together take it exclusively, their readers shared, so no reader or
// crash recovery sees one file of a pair rewritten and not yet the other. The lock ends with the process,
// so a killed writer leaves no lock behind. Where the folder cannot be locked, nothing is locked.
class FolderLock {
 public:
  FolderLock(const std::string& folder, bool exclusive);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

// A new, empty folder of the caller's own (0700) under the system's temporary folder ($TMPDIR, else
// /tmp), named prefix followed by six random characters. Its path without a trailing '/'; nullopt when
// it cannot be made.
std::optional<std::string> MakeTempFolder(std::string_view prefix);

// Removes a folder with everything in it. False when something is left.
bool RemoveFolder(const std::string& path);

}  // namespace sorano
