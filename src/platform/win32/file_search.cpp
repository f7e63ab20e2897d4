#include "platform/file_search.h"

#include <windows.h>

#include <cstring>

namespace velinst::platform {

struct FileSearch::State {
  HANDLE handle = INVALID_HANDLE_VALUE;
  ~State() {
    if (handle != INVALID_HANDLE_VALUE) ::FindClose(handle);
  }
};

namespace {

void Convert(const WIN32_FIND_DATAA& found, FindData& data) {
  data.attributes = found.dwFileAttributes;
  data.creationTime = FileTime{found.ftCreationTime.dwLowDateTime, found.ftCreationTime.dwHighDateTime};
  data.lastAccessTime = FileTime{found.ftLastAccessTime.dwLowDateTime, found.ftLastAccessTime.dwHighDateTime};
  data.lastWriteTime = FileTime{found.ftLastWriteTime.dwLowDateTime, found.ftLastWriteTime.dwHighDateTime};
  data.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  static_assert(sizeof data.name == sizeof found.cFileName);
  std::memcpy(data.name, found.cFileName, sizeof data.name);
  data.name[sizeof data.name - 1] = '\0';
}

}  // namespace

FileSearch::FileSearch() = default;
FileSearch::FileSearch(FileSearch&&) noexcept = default;
FileSearch& FileSearch::operator=(FileSearch&&) noexcept = default;
FileSearch::~FileSearch() = default;

bool FileSearch::First(const char* pattern, FindData& data) {
  Close();
  WIN32_FIND_DATAA found;
  const HANDLE handle = ::FindFirstFileA(pattern, &found);
  if (handle == INVALID_HANDLE_VALUE) return false;
  state_ = std::make_unique<State>();
  state_->handle = handle;
  Convert(found, data);
  return true;
}

bool FileSearch::Next(FindData& data) {
  if (!IsOpen()) {
    ::SetLastError(ERROR_NO_MORE_FILES);
    return false;
  }
  WIN32_FIND_DATAA found;
  if (!::FindNextFileA(state_->handle, &found)) return false;
  Convert(found, data);
  return true;
}

void FileSearch::Close() { state_.reset(); }

bool FileSearch::IsOpen() const { return state_ != nullptr; }

}  // namespace velinst::platform
