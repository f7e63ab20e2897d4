// The front end's subcommands. Each file of commands registers its own with
// a static CommandRegistration, so adding a command touches one file.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "loaded_library.h"

namespace velinst::cli {

class Invocation {
 public:
  Invocation(const LoadedLibrary* library, std::vector<std::string> arguments)
      : library_(library), arguments_(std::move(arguments)) {}

  const std::vector<std::string>& Arguments() const { return arguments_; }
  const std::string& Argument(std::size_t index) const { return arguments_.at(index); }
  // The argument, or `fallback` when it was not given.
  std::string ArgumentOr(std::size_t index, const std::string& fallback) const {
    return index < arguments_.size() ? arguments_[index] : fallback;
  }

  // An export of the loaded library; throws when it is missing.
  template <typename Function>
  Function Export(const char* name) const {
    void* address = library_ != nullptr ? library_->Find(name) : nullptr;
    if (address == nullptr) throw std::runtime_error(std::string("the library has no export ") + name);
    return reinterpret_cast<Function>(address);
  }

 private:
  const LoadedLibrary* library_;
  std::vector<std::string> arguments_;
};

// The export of the header with that name, typed by its declaration.
#define VELINST_CLI_EXPORT(invocation, name) (invocation).Export<decltype(&name)>(#name)

struct Command {
  const char* name;
  const char* usage;        // the arguments, for --help
  const char* summary;      // one line, for --help
  const char* exportName;   // the export it calls, or null for an operator command
  std::size_t minArguments;
  std::size_t maxArguments;
  int (*run)(const Invocation&);  // the process exit status: 0 when the export reports success
};

std::vector<Command>& Commands();
const Command* FindCommand(const std::string& name);

struct CommandRegistration {
  explicit CommandRegistration(const Command& command) { Commands().push_back(command); }
};

}  // namespace velinst::cli
