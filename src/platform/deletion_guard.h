// Folders that a tree deletion refuses to touch.
#pragma once

namespace velinst {

// `path` has had one trailing separator removed. True for: the empty text
// (the root of the current drive), "." and "..", a drive root in either
// letter case, one of the protected names of Windows' own folders (the
// whole text, or the full path as the drive root and that name), and the
// platform's system folders.
bool IsProtectedFromDeletion(const char* path);

}  // namespace velinst
