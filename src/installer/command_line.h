// Command lines as the Windows process start takes them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velinst {

// The command line buffer holds 511 characters and the terminator.
inline constexpr std::size_t kCommandLineCapacity = 512;

// Forms "\"program\" arguments" (the blank is written even for empty
// arguments). Returns false when the result would not fit the buffer; a null
// text counts as empty.
bool BuildQuotedCommandLine(const char* program, const char* arguments, std::string& commandLine);

// Splits a command line into arguments the way the Windows C runtime does:
// the first token ends at the closing quote or a blank, later tokens follow
// the blank, double-quote and backslash rules.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace velinst
