// The separator of path elements: a backslash on Windows (which also takes
// '/'), '/' on the host.
#pragma once

namespace velinst::platform {

extern const char kPathSeparator;
bool IsPathSeparator(char c);

// The root of the file system as a text of its own: "/" on the host; null on
// Windows, where every root has a drive letter.
extern const char* const kRootFolderText;

}  // namespace velinst::platform
