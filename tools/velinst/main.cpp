// velinst: the library's exports from the command line. The library is
// loaded at run time and every export is found by its plain name, so each run
// also proves the export boundary.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "command.h"
#include "loaded_library.h"

namespace {

using velinst::cli::Command;

void PrintHelp() {
  std::printf(
      "usage: velinst COMMAND [ARGUMENTS]\n"
      "The library is loaded from beside this program, or from $VELINST_LIBRARY.\n\n");
  for (const Command& command : velinst::cli::Commands()) {
    const std::string synopsis = std::string(command.name) + " " + command.usage;
    std::printf("  %-44s %s%s%s\n", synopsis.c_str(), command.summary, command.exportName ? " -- " : "",
                command.exportName ? command.exportName : "");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintHelp();
    return argc < 2 ? 2 : 0;
  }
  const Command* command = velinst::cli::FindCommand(argv[1]);
  if (command == nullptr) {
    std::fprintf(stderr, "velinst: unknown command '%s' (see velinst --help)\n", argv[1]);
    return 2;
  }
  std::vector<std::string> arguments(argv + 2, argv + argc);
  if (arguments.size() < command->minArguments || arguments.size() > command->maxArguments) {
    std::fprintf(stderr, "usage: velinst %s %s\n", command->name, command->usage);
    return 2;
  }

  velinst::cli::LoadedLibrary library;
  if (command->exportName != nullptr) {
    const char* override = std::getenv("VELINST_LIBRARY");
    const std::string path = override != nullptr && *override != '\0' ? override
                                                                       : velinst::cli::LoadedLibrary::DefaultPath();
    if (!library.Open(path)) {
      std::fprintf(stderr, "velinst: %s\n", library.Error().c_str());
      return 2;
    }
  }
  try {
    const int status = command->run(velinst::cli::Invocation(&library, std::move(arguments)));
    std::fflush(stdout);
    return status;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velinst: %s\n", error.what());
    return 2;
  }
}
