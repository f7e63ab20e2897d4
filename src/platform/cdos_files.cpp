// CDOS: single files, their sizes, times and temporary names.
#include <algorithm>
#include <cstring>
#include <ctime>

#include "platform/cdos.h"
#include "platform/file_operations.h"
#include "platform/file_time_access.h"
#include "platform/last_error.h"
#include "platform/temp_file_name.h"

namespace velinst {

bool CDOS::Exists(const char* path) const { return FitsPath(path) && platform::PathExists(path); }

bool CDOS::MoveSingleFile(const char* destination, const char* source) const {
  return FitsPath(destination) && FitsPath(source) && platform::MoveFileNoReplace(source, destination);
}

bool CDOS::CopySingleFile(const char* destination, const char* source) const {
  return FitsPath(destination) && FitsPath(source) && platform::CopyFileOver(source, destination);
}

bool CDOS::DeleteSingleFile(const char* path) const { return FitsPath(path) && platform::RemoveFile(path); }

std::uint32_t CDOS::FileSize(const char* path) const {
  std::uint64_t size = 0;
  if (!FitsPath(path) || !platform::FileSize(path, size)) return 0;
  const auto low = static_cast<std::uint32_t>(size);
  return low == 0xFFFFFFFFu ? 0 : low;
}

std::int64_t CDOS::CreationTime(const char* path) const {
  std::int64_t creation = 0;
  std::int64_t modification = 0;
  if (!FitsPath(path) || !platform::StatTimes(path, creation, modification)) return 0;
  return creation;
}

std::int64_t CDOS::EarliestTime(const char* path) const {
  std::int64_t creation = 0;
  std::int64_t modification = 0;
  if (!FitsPath(path) || !platform::StatTimes(path, creation, modification)) return 0;
  return std::min(creation, modification);
}

bool CDOS::GetFileTimes(const char* path, FileTime* creation, FileTime* access, FileTime* write) const {
  if (!FitsPath(path)) return false;
  if (platform::ReadFileTimes(path, false, creation, access, write)) return true;
  if (platform::LastError() != platform::kErrorSharingViolation) return false;
  return platform::ReadFileTimes(path, true, creation, access, write);
}

bool CDOS::SetFileTimes(const char* path, const FileTime* creation, const FileTime* access,
                        const FileTime* write) const {
  if (!FitsPath(path)) return false;
  if (platform::WriteFileTimes(path, false, creation, access, write)) return true;
  if (platform::LastError() != platform::kErrorSharingViolation) return false;
  return platform::WriteFileTimes(path, true, creation, access, write);
}

std::uint32_t CDOS::TemporaryFileName(PathBuffer& name, const char* folder, const char* prefix,
                                      std::uint32_t unique) const {
  PathBuffer directory;
  if (folder != nullptr) {
    if (::strnlen(folder, kTemporaryFolderLimit + 1) > kTemporaryFolderLimit) {
      platform::SetLastError(platform::kErrorTooLong);
      return 0;
    }
    CopyPath(directory, folder);
  } else if (platform::TemporaryFolder(directory, kPathCapacity - 1) == 0) {
    return 0;
  }
  if (prefix != nullptr) return platform::MakeTemporaryFileName(directory, prefix, unique, name);

  static constexpr char kDefaultPrefix[] = "TMP";
  std::uint32_t used = platform::MakeTemporaryFileName(directory, kDefaultPrefix, unique, name);
  if (used != 0 || unique != 0 || platform::LastError() != platform::kErrorFileExists) return used;
  // Every number the system tried was taken: go on from the clock.
  for (auto number = static_cast<std::uint32_t>(std::time(nullptr));; ++number) {
    used = platform::MakeTemporaryFileName(directory, kDefaultPrefix, number, name);
    if (used != 0 || platform::LastError() != platform::kErrorFileExists) return used;
  }
}

}  // namespace velinst
