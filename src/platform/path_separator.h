// The separator of path elements: a backslash on Windows (which also takes
// '/'), '/' on the host.
#pragma once

namespace velinst::platform {

extern const char kPathSeparator;
bool IsPathSeparator(char c);

}  // namespace velinst::platform
