// Copies into the caller's text buffers of the account exports, each
// 1024 bytes with its terminator.
#pragma once

#include <cstddef>
#include <string_view>

namespace velinst {

inline constexpr std::size_t kRdbOutputSize = 1024;

// A display text (a name, an address, a phone number), cut to 1023 bytes.
void CopyDisplayText(char* buffer, std::string_view text);

// An auth token is useless cut: false, writing nothing, when it does not
// fit with its terminator.
bool CopyToken(char* buffer, std::string_view token);

}  // namespace velinst
