// Single files and folders: the platform calls behind CDOS.
#pragma once

#include <cstdint>

namespace velinst::platform {

bool PathExists(const char* path);
bool MakeFolder(const char* path);         // the parent must exist
bool RemoveEmptyFolder(const char* path);  // fails on a folder with entries
bool RemoveFile(const char* path);
// Removes a link (symbolic link, junction or other reparse point) itself,
// never what it points to. `toFolder`: the link stands for a folder.
bool RemoveLink(const char* path, bool toFolder);
// Copies a file's contents (following links), replacing `destination`.
bool CopyFileOver(const char* source, const char* destination);
// Moves or renames a file or folder; fails when `destination` exists.
bool MoveFileNoReplace(const char* source, const char* destination);
// The size of a file (0 for a folder).
bool FileSize(const char* path, std::uint64_t& size);
// GetCurrentDirectoryA: the length of the current folder written into
// `buffer`, or, when it does not fit `size` bytes, the size needed (buffer
// untouched); 0 on failure.
std::uint32_t CurrentFolder(char* buffer, std::uint32_t size);
// The absolute form of `path` without "." and ".." elements (links resolved
// on the host, where the path must exist). False when it does not fit.
bool FullPath(const char* path, char* buffer, std::uint32_t size);

}  // namespace velinst::platform
