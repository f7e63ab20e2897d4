// Reading and setting the times of a file.
#pragma once

#include <cstdint>

#include "platform/file_time.h"

namespace velinst::platform {

// Creation and modification time in seconds since 1970 (the C run time's
// stat on Windows; on the host the birth time where the file system keeps
// one, else the change time).
bool StatTimes(const char* path, std::int64_t& creationSeconds, std::int64_t& modificationSeconds);

// Opens the file and reads its three times; any output may be null. Others
// may read the file meanwhile, and with `othersMayWrite` also write it: a
// first attempt that fails with kErrorSharingViolation is retried that way.
bool ReadFileTimes(const char* path, bool othersMayWrite, FileTime* creation, FileTime* access, FileTime* write);

// Opens the file for writing and sets the times that are not null. Others
// may write meanwhile, and with `othersMayRead` also read. The host keeps no
// settable creation time: it is ignored there.
bool WriteFileTimes(const char* path, bool othersMayRead, const FileTime* creation, const FileTime* access,
                    const FileTime* write);

}  // namespace velinst::platform
