// The host's registry: one registry-script file per root key
// ("HKEY_CURRENT_USER.reg") in $VELINST_REGISTRY_DIR, else
// $XDG_CONFIG_HOME/velinst/registry (~/.config/velinst/registry). Readers
// take the file as it is: it is only ever replaced whole. Every change
// re-reads the file under an exclusive lock on a separate lock file and
// replaces it atomically (new file, flushed, renamed over), so concurrent
// processes and a crash never lose or corrupt an update.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "creg/registry_api.h"
#include "creg/registry_tree.h"

namespace velinst::platform {

std::string RegistryFolder();

// The root's tree; a missing file is an empty tree, a file that does not
// parse is an error (EBADMSG).
std::uint32_t ReadRegistryTree(RegistryRoot root, RegistryTree& tree);

// Runs `change` on the root's current tree under the lock and, when it
// succeeds and sets `changed`, writes the tree back.
using RegistryChange = std::function<std::uint32_t(RegistryTree& tree, bool& changed)>;
std::uint32_t UpdateRegistryTree(RegistryRoot root, const RegistryChange& change);

}  // namespace velinst::platform
