#include "platform/file_operations.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/last_error.h"
#include "platform/posix/unique_fd.h"

namespace velinst::platform {

namespace {

bool CopyContents(int from, int to, off_t size) {
  off_t offset = 0;
  while (offset < size) {
    const ssize_t sent = ::sendfile(to, from, &offset, static_cast<size_t>(size - offset));
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0) return false;
    if (sent == 0) break;  // the source shrank meanwhile
  }
  return true;
}

}  // namespace

bool PathExists(const char* path) { return ::access(path, F_OK) == 0; }

bool MakeFolder(const char* path) { return ::mkdir(path, 0777) == 0; }

bool RemoveEmptyFolder(const char* path) { return ::rmdir(path) == 0; }

bool RemoveFile(const char* path) { return ::unlink(path) == 0; }

bool RemoveLink(const char* path, bool) { return ::unlink(path) == 0; }

bool CopyFileOver(const char* source, const char* destination) {
  // Non-blocking, so that a named pipe cannot hold the call; only regular files are copied.
  UniqueFd from(::open(source, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!from.Valid()) return false;
  struct stat status;
  if (::fstat(from.Get(), &status) != 0) return false;
  if (!S_ISREG(status.st_mode)) {
    errno = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  UniqueFd to(::open(destination, O_WRONLY | O_CREAT | O_CLOEXEC, status.st_mode & 0777));
  if (!to.Valid()) return false;
  // A file copied onto itself (or a hard link of it) would be emptied:
  // refuse, as Windows does with a sharing violation.
  struct stat target;
  if (::fstat(to.Get(), &target) != 0) return false;
  if (target.st_dev == status.st_dev && target.st_ino == status.st_ino) {
    errno = kErrorSharingViolation;
    return false;
  }
  if (::ftruncate(to.Get(), 0) != 0) return false;
  if (!CopyContents(from.Get(), to.Get(), status.st_size)) return false;
  // As on Windows, the copy keeps the source's modification time.
  const timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
  ::futimens(to.Get(), times);
  return to.Close();
}

bool MoveFileNoReplace(const char* source, const char* destination) {
  if (::renameat2(AT_FDCWD, source, AT_FDCWD, destination, RENAME_NOREPLACE) == 0) return true;
  if (errno == EINVAL || errno == ENOSYS) {
    // A file system without the no-replace flag: check, then rename.
    struct stat status;
    if (::lstat(destination, &status) == 0) {
      errno = EEXIST;
      return false;
    }
    return ::rename(source, destination) == 0;
  }
  if (errno != EXDEV) return false;
  // Another file system: a file moves as a copy and a deletion.
  struct stat status;
  if (::lstat(source, &status) != 0) return false;
  if (!S_ISREG(status.st_mode)) {
    errno = EXDEV;
    return false;
  }
  if (::lstat(destination, &status) == 0) {
    errno = EEXIST;
    return false;
  }
  if (!CopyFileOver(source, destination)) return false;
  return ::unlink(source) == 0;
}

bool FileSize(const char* path, std::uint64_t& size) {
  struct stat status;
  if (::stat(path, &status) != 0) return false;
  size = S_ISDIR(status.st_mode) ? 0 : static_cast<std::uint64_t>(status.st_size);
  return true;
}

std::uint32_t CurrentFolder(char* buffer, std::uint32_t size) {
  char full[PATH_MAX];
  if (::getcwd(full, sizeof full) == nullptr) return 0;
  const std::size_t length = std::strlen(full);
  if (length >= size) return static_cast<std::uint32_t>(length + 1);
  std::memcpy(buffer, full, length + 1);
  return static_cast<std::uint32_t>(length);
}

bool FullPath(const char* path, char* buffer, std::uint32_t size) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path, nullptr), &std::free);
  if (resolved == nullptr) return false;
  const std::size_t length = std::strlen(resolved.get());
  if (length >= size) {
    errno = ENAMETOOLONG;
    return false;
  }
  std::memcpy(buffer, resolved.get(), length + 1);
  return true;
}

}  // namespace velinst::platform
