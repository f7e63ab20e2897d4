// The calling thread's last-error value and the system's text for an error
// code: GetLastError/FormatMessageA on Windows, errno/strerror on the host.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velinst::platform {

std::uint32_t LastError();
void SetLastError(std::uint32_t code);

// Writes the system's message for `code` into `buffer` (at most `size`
// bytes including the terminator). Returns false, leaving the buffer as it
// was, when the system has no text for the code.
bool SystemMessage(std::uint32_t code, char* buffer, std::size_t size);

// Error values that portable code compares against or leaves behind.
extern const std::uint32_t kErrorTooLong;           // a text or path exceeds its buffer
extern const std::uint32_t kErrorFileExists;        // the name is taken
extern const std::uint32_t kErrorFileNotFound;      // no such file, folder or registry key
extern const std::uint32_t kErrorSharingViolation;  // another opener's sharing mode refuses access
extern const std::uint32_t kErrorMoreData;          // the data do not fit the buffer given
extern const std::uint32_t kErrorNoMoreItems;       // an enumeration ran past its last entry
extern const std::uint32_t kErrorAccessDenied;      // the handle or the account lacks the right
extern const std::uint32_t kErrorInvalidParameter;  // an argument the call cannot accept

}  // namespace velinst::platform
