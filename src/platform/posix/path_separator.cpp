#include "platform/path_separator.h"

namespace velinst::platform {

const char kPathSeparator = '/';

bool IsPathSeparator(char c) { return c == '/'; }

const char* const kRootFolderText = "/";

}  // namespace velinst::platform
