// Folders of the system that a tree deletion must never remove, besides
// drive roots and the protected names every platform shares: on the host its
// own top-level folders and the user's home folder.
#pragma once

#include <string>
#include <vector>

namespace velinst::platform {

// Full paths, as FullPath writes them.
std::vector<std::string> SystemFolders();

}  // namespace velinst::platform
