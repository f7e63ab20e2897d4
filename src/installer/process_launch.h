// Starting programs: the platform's part of the launch exports.
#pragma once

#include <string>

namespace velinst::platform {

// Starts the command line hidden in a new console and waits for it to end.
// False when it could not start; the thread's last error tells why.
bool RunAndWait(const std::string& commandLine);

// Hands a file (program, document or URL) to the shell without waiting.
bool OpenWithShell(const char* file, const char* parameters);

}  // namespace velinst::platform
