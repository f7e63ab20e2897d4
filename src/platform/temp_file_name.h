// Names for temporary files.
#pragma once

#include <cstdint>

#include "platform/path_buffer.h"

namespace velinst::platform {

// The user's temporary folder with a trailing separator ($TMPDIR, else /tmp,
// on the host). Returns its length, or 0 when it does not fit `size` bytes.
std::uint32_t TemporaryFolder(char* buffer, std::uint32_t size);

// GetTempFileNameA: the folder, the first three characters of the prefix,
// the low 16 bits of `unique` in hexadecimal and ".TMP". With those bits 0 a
// number is picked and the file created exclusively (kErrorFileExists when
// every number is taken); otherwise the name is only formed. Returns the
// number used, 0 on failure (kErrorTooLong when the name does not fit).
std::uint32_t MakeTemporaryFileName(const char* folder, const char* prefix, std::uint32_t unique, PathBuffer& name);

}  // namespace velinst::platform
