// The host has no registry editor: the script is read into the store here.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "creg/import_diagnostic.h"
#include "creg/posix/registry_store.h"
#include "creg/reg.h"
#include "creg/reg_script.h"
#include "platform/file_operations.h"

namespace velinst {

bool ImportRegFile(const char* path) {
  if (path == nullptr || !platform::PathExists(path)) {
    ReportImportFailure(kScriptExists);
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.good() && !file.eof()) {
    ReportImportFailure(kScriptExists, "the file cannot be read");
    return false;
  }
  // Parsed whole before anything is stored: a script that does not parse is
  // rejected whole, as the editor rejects it, and the import still ran.
  std::vector<ScriptSection> sections;
  std::string error;
  if (!ParseRegistryScript(text, sections, error)) {
    ReportImportFailure("script rejected", error.c_str());
    return true;
  }
  for (const platform::RegistryRoot root : {platform::RegistryRoot::kClassesRoot, platform::RegistryRoot::kCurrentUser,
                                            platform::RegistryRoot::kLocalMachine, platform::RegistryRoot::kUsers,
                                            platform::RegistryRoot::kCurrentConfig}) {
    bool touches = false;
    for (const ScriptSection& section : sections) touches = touches || section.root == root;
    if (!touches) continue;
    const std::uint32_t status = platform::UpdateRegistryTree(root, [&](RegistryTree& tree, bool& changed) {
      for (const ScriptSection& section : sections)
        if (section.root == root) ApplySection(section, tree);
      changed = true;
      return platform::kRegistrySuccess;
    });
    if (status != platform::kRegistrySuccess) {
      ReportImportFailure(kEditorStarted, std::strerror(static_cast<int>(status)));
      return false;
    }
  }
  return true;
}

}  // namespace velinst
