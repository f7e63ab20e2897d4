// CDOS: folders and whole folder trees.
#include <cstring>

#include "platform/cdos.h"
#include "platform/deletion_guard.h"
#include "platform/file_operations.h"
#include "platform/find_file.h"
#include "platform/saturating.h"

namespace velinst {

namespace {

constexpr char kEveryEntry[] = "*.*";

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// Every level of the walk asks the one guard made for the call.
bool DeleteGuardedTree(const char* path, const DeletionGuard& guard) {
  PathBuffer folder;
  if (path == nullptr || *path == '\0' || !CopyPath(folder, path)) return false;
  StripTrailingSeparator(folder);
  if (guard.Refuses(folder)) return false;
  // A link named as the tree goes itself: what it points to lies outside.
  if (CFindFile self; self.First(folder) && self.IsLink()) {
    const bool toFolder = self.IsDirectory();
    self.Close();
    return platform::RemoveLink(folder, toFolder);
  }

  PathBuffer pattern;
  if (!JoinPath(pattern, folder, kEveryEntry)) return false;
  bool deleted = true;
  CFindFile find;
  if (find.First(pattern)) {
    do {
      if (!deleted || IsDotEntry(find.Name())) continue;
      PathBuffer entry;
      if (!JoinPath(entry, folder, find.Name())) {
        deleted = false;
      } else if (find.IsLink()) {
        // The link goes, what it points to stays.
        deleted = platform::RemoveLink(entry, find.IsDirectory());
      } else if (find.IsDirectory()) {
        deleted = DeleteGuardedTree(entry, guard);
      } else {
        deleted = platform::RemoveFile(entry);
      }
    } while (find.Next());
  }
  find.Close();  // an open search would keep the folder busy
  return deleted && platform::RemoveEmptyFolder(folder);
}

}  // namespace

std::uint32_t CDOS::CurrentFolder(PathBuffer& buffer) const { return platform::CurrentFolder(buffer, kPathCapacity); }

bool CDOS::CreateFolderPath(const char* path) const {
  PathBuffer folder;
  if (path == nullptr || *path == '\0' || !CopyPath(folder, path)) return false;
  StripTrailingSeparator(folder);
  if (platform::PathExists(folder)) return IsFolder(folder);
  if (char* cut = LastSeparator(folder)) {
    const char separator = *cut;
    *cut = '\0';
    CreateFolderPath(folder);  // the parent's outcome shows in the creation below
    *cut = separator;
  }
  return platform::MakeFolder(folder);
}

bool CDOS::CopyTree(const char* destination, const char* source) const {
  CreateFolderPath(destination);
  PathBuffer pattern;
  if (destination == nullptr || !JoinPath(pattern, source, kEveryEntry)) return true;
  CFindFile find;
  if (!find.First(pattern)) return true;
  do {
    if (IsDotEntry(find.Name())) continue;
    PathBuffer from, to;
    if (!JoinPath(from, source, find.Name()) || !JoinPath(to, destination, find.Name())) continue;
    if (find.IsDirectory()) {
      // A linked folder is not descended into: its contents lie outside the tree.
      if (!find.IsLink()) CopyTree(to, from);
    } else {
      platform::CopyFileOver(from, to);
    }
  } while (find.Next());
  return true;
}

bool CDOS::DeleteTree(const char* path) const { return DeleteGuardedTree(path, DeletionGuard()); }

bool CDOS::RemoveFolder(const char* path) const { return FitsPath(path) && platform::RemoveEmptyFolder(path); }

bool CDOS::IsFolder(const char* path) const {
  CFindFile find;
  return find.First(path) && find.IsDirectory();
}

std::uint32_t CDOS::PatternSize(const char* pattern) const {
  CFindFile find;
  if (!find.First(pattern)) return 0;
  std::uint64_t total = 0;
  do total = SaturatingAdd(total, find.FullSize());
  while (find.Next());
  return Saturate(total);
}

bool CDOS::FirstMatchName(const char* pattern, char* buffer, std::size_t size) const {
  CFindFile find;
  if (buffer == nullptr || !find.First(pattern) || std::strlen(find.Name()) >= size) return false;
  return find.Name(buffer, size);
}

}  // namespace velinst
