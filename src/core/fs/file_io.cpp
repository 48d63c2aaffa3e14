#include "core/fs/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace sorano {

int FileExists(const std::string& path, int wantDirectory) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return 0;
  bool isDir = S_ISDIR(st.st_mode);
  return (wantDirectory != 0) == isDir ? 1 : 0;
}

bool EnsureFolder(const std::string& path) {
  if (path.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return FileExists(path, 1) == 1;
}

namespace {

// Reads into [data, data + size) until it is full, the file ends or a read fails; the bytes read.
size_t ReadFully(int fd, char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  // Straight into the string, in one read of the size the file has now (the brand table's 2.5 MB
  // at start-up); a file that grows meanwhile is read on in steps, one that shrinks ends early.
  std::string out;
  size_t want = std::min(static_cast<size_t>(std::max<off_t>(st.st_size, 0)), maxBytes);
  while (true) {
    const size_t at = out.size();
    out.resize(at + want);
    const size_t n = ReadFully(fd, out.data() + at, want);
    out.resize(at + n);
    if (n < want || out.size() >= maxBytes) break;
    want = std::min<size_t>(65536, maxBytes - out.size());
  }
  ::close(fd);
  return out;
}

int64_t ReadRecordsInto(const std::string& path, std::span<char> out, size_t unit) {
  if (unit == 0) return -1;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  // Chunks of whole units, each kept in a copy until it is read: a read that fails half way through
  // a unit puts that unit's old bytes back. A unit of the table is never written twice.
  const size_t chunk = std::max<size_t>(unit, 65536 / unit * unit);
  std::string copy(chunk, '\0');
  size_t done = 0;
  while (done + unit <= out.size()) {
    const size_t want = std::min(chunk, (out.size() - done) / unit * unit);
    std::memcpy(copy.data(), out.data() + done, want);
    const size_t got = ReadFully(fd, out.data() + done, want);
    const size_t whole = got / unit * unit;
    std::memcpy(out.data() + done + whole, copy.data() + whole, want - whole);
    done += whole;
    if (got < want) break;
  }
  ::close(fd);
  return static_cast<int64_t>(done);
}

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
  return FileStamp{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
                   static_cast<long long>(st.st_size),
                   static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

bool WriteFileAtomic(const std::string& path, std::string_view data, unsigned mode) {
  std::string tmp = path + ".tmp" + std::to_string(::getpid()) + "-XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) return false;
  bool ok = true;
  const char* p = data.data();
  size_t left = data.size();
  while (ok && left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // mkstemp creates 0600; set the wanted bits before the file gets its name.
  if (ok) ok = ::fchmod(fd, static_cast<mode_t>(mode)) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

int RemoveStaleTemporaries(const std::string& folder) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec), end;
  int removed = 0;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    // "<name>.tmp<pid>-XXXXXX"
    const size_t tmp = name.rfind(".tmp");
    if (tmp == std::string::npos || name.size() < tmp + 4 + 8) continue;
    const std::string_view tail = std::string_view(name).substr(tmp + 4);
    const size_t dash = tail.size() - 7;
    if (tail[dash] != '-' || tail.find_first_not_of("0123456789") != dash) continue;
    const long pid = std::strtol(std::string(tail.substr(0, dash)).c_str(), nullptr, 10);
    const bool alive =
        pid > 0 && pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
    if (!alive && ::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

FolderLock::FolderLock(const std::string& folder, bool exclusive) {
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0) {
    if (errno == EINTR) continue;
    ::close(fd_);  // a file system without locks: go on unlocked
    fd_ = -1;
    return;
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::optional<std::string> MakeTempFolder(std::string_view prefix) {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return std::nullopt;
  std::string tmpl = (base / (std::string(prefix) + "XXXXXX")).string();
  if (::mkdtemp(tmpl.data()) == nullptr) return std::nullopt;
  return tmpl;
}

bool RemoveFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
  return !ec && FileExists(path, 1) == 0;
}

}  // namespace sorano
