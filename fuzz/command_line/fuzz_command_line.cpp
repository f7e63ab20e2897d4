// Command lines split with the Windows runtime's rules: any text splits
// without reading past its end, and the quoted form of a program is kept.
#include <cstddef>
#include <cstdint>
#include <string>

#include "installer/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto arguments = velinst::SplitCommandLine(text);
  if (arguments.empty()) __builtin_trap();
  std::string line;
  const std::string program = text.substr(0, text.find('\0'));
  if (program.find('"') == std::string::npos &&
      velinst::BuildQuotedCommandLine(program.c_str(), "x", line) &&
      velinst::SplitCommandLine(line).front() != program)
    __builtin_trap();
  return 0;
}
