// Paths in fixed working buffers of 256 bytes: a path that does not fit is
// refused whole, never cut and used.
#pragma once

#include <cstddef>

namespace velinst {

inline constexpr std::size_t kPathCapacity = 256;  // 255 characters and the terminator

using PathBuffer = char[kPathCapacity];

// Whether `path` fits a working buffer. False, with the last error
// kErrorTooLong, when it is null or has 256 characters or more.
bool FitsPath(const char* path);

// Copies `text` into `buffer`. False, with the buffer empty and the last
// error kErrorTooLong, when it is null or does not fit.
bool CopyPath(PathBuffer& buffer, const char* text);

// `directory`, one separator and `name` (no separator is doubled); the name
// alone when the directory is empty. False as CopyPath when it does not fit.
bool JoinPath(PathBuffer& buffer, const char* directory, const char* name);

// Removes one trailing separator, if there is one.
void StripTrailingSeparator(char* path);

// The last separator in `path`, or null.
char* LastSeparator(char* path);
const char* LastSeparator(const char* path);

}  // namespace velinst
