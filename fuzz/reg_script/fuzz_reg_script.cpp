// Registry scripts from outside (imports, and the host's store files): any
// text parses or is rejected without harm, and whatever parses is written
// back in a form that reads the same again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "creg/reg_script.h"

namespace {

using velinst::platform::RegistryRoot;

constexpr RegistryRoot kRoots[] = {RegistryRoot::kClassesRoot, RegistryRoot::kCurrentUser, RegistryRoot::kLocalMachine,
                                   RegistryRoot::kUsers, RegistryRoot::kCurrentConfig};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<velinst::ScriptSection> sections;
  std::string error;
  if (!velinst::ParseRegistryScript(text, sections, error)) return 0;
  for (const RegistryRoot root : kRoots) {
    velinst::RegistryTree tree;
    for (const auto& section : sections)
      if (section.root == root) velinst::ApplySection(section, tree);
    const std::string written = velinst::FormatRegistryScript(root, tree);
    std::vector<velinst::ScriptSection> again;
    if (!velinst::ParseRegistryScript(written, again, error)) __builtin_trap();
    velinst::RegistryTree back;
    for (const auto& section : again) velinst::ApplySection(section, back);
    if (velinst::FormatRegistryScript(root, back) != written) __builtin_trap();
  }
  return 0;
}
