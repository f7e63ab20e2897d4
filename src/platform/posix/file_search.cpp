#include "platform/file_search.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/posix/stat_times.h"
#include "platform/wildcard_match.h"

namespace velinst::platform {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

std::string Join(const std::string& folder, const char* name) {
  return folder.back() == '/' ? folder + name : folder + '/' + name;
}

// The attributes, times and size Windows would report for the entry; false
// when it vanished meanwhile.
bool Describe(const std::string& path, const char* name, FindData& data) {
  struct statx status;
  if (!StatPath(path.c_str(), false, status)) return false;
  data = FindData{};
  if (S_ISLNK(status.stx_mode)) {
    data.attributes = kAttributeReparsePoint;
    struct stat target;
    if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) data.attributes |= kAttributeDirectory;
  } else if (S_ISDIR(status.stx_mode)) {
    data.attributes = kAttributeDirectory;
  } else {
    data.size = status.stx_size;
  }
  if ((status.stx_mode & S_IWUSR) == 0 && !S_ISLNK(status.stx_mode)) data.attributes |= kAttributeReadOnly;
  if (data.attributes == 0) data.attributes = kAttributeNormal;
  data.creationTime = ToFileTime(CreationTimestamp(status));
  data.lastAccessTime = ToFileTime(status.stx_atime);
  data.lastWriteTime = ToFileTime(status.stx_mtime);
  std::strncpy(data.name, name, sizeof data.name - 1);
  return true;
}

bool IsRootFolder(const std::string& folder) {
  struct stat self, parent;
  return ::stat(folder.c_str(), &self) == 0 && ::stat(Join(folder, "..").c_str(), &parent) == 0 &&
         self.st_dev == parent.st_dev && self.st_ino == parent.st_ino;
}

}  // namespace

struct FileSearch::State {
  std::unique_ptr<DIR, DirCloser> dir;
  std::string folder;
  std::string pattern;
  int dotsReported = 2;  // "." and ".." come first, as Windows lists them

  bool Advance(FindData& data) {
    static const char* const kDots[] = {".", ".."};
    while (dotsReported < 2) {
      const char* dot = kDots[dotsReported++];
      if (MatchesWildcard(pattern, dot) && Describe(Join(folder, dot), dot, data)) return true;
    }
    if (dir == nullptr) return false;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
      if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
      if (std::strlen(entry->d_name) >= sizeof data.name || !MatchesWildcard(pattern, entry->d_name)) continue;
      if (Describe(Join(folder, entry->d_name), entry->d_name, data)) return true;
    }
    errno = ENODATA;
    return false;
  }
};

FileSearch::FileSearch() = default;
FileSearch::FileSearch(FileSearch&&) noexcept = default;
FileSearch& FileSearch::operator=(FileSearch&&) noexcept = default;
FileSearch::~FileSearch() = default;

bool FileSearch::First(const char* pattern, FindData& data) {
  Close();
  const std::string text = pattern;
  const std::size_t cut = text.rfind('/');
  auto state = std::make_unique<State>();
  state->folder = cut == std::string::npos ? "." : text.substr(0, cut == 0 ? 1 : cut);
  state->pattern = cut == std::string::npos ? text : text.substr(cut + 1);
  if (state->pattern.empty()) {
    errno = ENOENT;
    return false;
  }
  // A plain name is looked up directly; only when that fails is the folder
  // searched for it without regard to case.
  if (!HasWildcards(state->pattern)) {
    if (Describe(Join(state->folder, state->pattern.c_str()), state->pattern.c_str(), data)) {
      state_ = std::move(state);
      return true;
    }
    if (errno != ENOENT) return false;
  }
  state->dir.reset(::opendir(state->folder.c_str()));
  if (state->dir == nullptr) return false;
  if (!IsRootFolder(state->folder)) state->dotsReported = 0;
  if (!state->Advance(data)) {
    errno = ENOENT;
    return false;
  }
  state_ = std::move(state);
  return true;
}

bool FileSearch::Next(FindData& data) {
  if (!IsOpen()) {
    errno = ENODATA;
    return false;
  }
  return state_->Advance(data);
}

void FileSearch::Close() { state_.reset(); }

bool FileSearch::IsOpen() const { return state_ != nullptr; }

}  // namespace velinst::platform
