#include "platform/path_separator.h"

namespace velinst::platform {

const char kPathSeparator = '\\';

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

const char* const kRootFolderText = nullptr;

}  // namespace velinst::platform
