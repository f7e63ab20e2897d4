#include "installer/command_line.h"

#include <cstring>

namespace velinst {

bool BuildQuotedCommandLine(const char* program, const char* arguments, std::string& commandLine) {
  const std::string_view programText = program != nullptr ? program : "";
  const std::string_view argumentText = arguments != nullptr ? arguments : "";
  const std::size_t length = programText.size() + argumentText.size() + 3;
  if (length >= kCommandLineCapacity) return false;
  commandLine.clear();
  commandLine.reserve(length);
  commandLine += '"';
  commandLine += programText;
  commandLine += "\" ";
  commandLine += argumentText;
  return true;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  const std::size_t n = line.size();

  // The program name: quotes group, backslashes are taken literally.
  std::string program;
  bool quoted = false;
  while (i < n && (quoted || !IsBlank(line[i]))) {
    if (line[i] == '"')
      quoted = !quoted;
    else
      program += line[i];
    ++i;
  }
  arguments.push_back(std::move(program));

  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    std::string argument;
    bool inQuotes = false;
    while (i < n && (inQuotes || !IsBlank(line[i]))) {
      if (line[i] == '\\') {
        std::size_t backslashes = 0;
        while (i < n && line[i] == '\\') {
          ++backslashes;
          ++i;
        }
        if (i < n && line[i] == '"') {
          // 2n backslashes and a quote: n backslashes, the quote toggles;
          // 2n+1 backslashes and a quote: n backslashes and a literal quote.
          argument.append(backslashes / 2, '\\');
          if (backslashes % 2 == 1) {
            argument += '"';
            ++i;
          }
        } else {
          argument.append(backslashes, '\\');
        }
        continue;
      }
      if (line[i] == '"') {
        if (inQuotes && i + 1 < n && line[i + 1] == '"') {
          // "" inside quotes is one literal quote.
          argument += '"';
          i += 2;
          continue;
        }
        inQuotes = !inQuotes;
        ++i;
        continue;
      }
      argument += line[i++];
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace velinst
