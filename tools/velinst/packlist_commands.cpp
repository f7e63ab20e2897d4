// Subcommands for the map pack lists: REGION LIST SCALE, printing the
// export's result (the number of lines written, 0, -1 or -2).
#include <cstdio>
#include <cstdlib>

#include "command.h"
#include "velinst.h"

namespace velinst::cli {
namespace {

using PackListExport = decltype(&VEL_MakePackList24K);

int RunPackList(const Invocation& invocation, PackListExport makePackList) {
  const int scale = static_cast<int>(std::strtol(invocation.Argument(2).c_str(), nullptr, 10));
  std::fflush(stdout);  // the library prints its own diagnostics
  const int result = makePackList(invocation.Argument(0).c_str(), invocation.Argument(1).c_str(), scale);
  std::printf("%d\n", result);
  return result >= 0 ? 0 : 1;
}

int PackList24K(const Invocation& invocation) {
  return RunPackList(invocation, VELINST_CLI_EXPORT(invocation, VEL_MakePackList24K));
}

int PackList(const Invocation& invocation) {
  return RunPackList(invocation, VELINST_CLI_EXPORT(invocation, VEL_MakePackList));
}

int PackList100K(const Invocation& invocation) {
  return RunPackList(invocation, VELINST_CLI_EXPORT(invocation, VEL_MakePackList100K));
}

const CommandRegistration kRegistrations[] = {
    CommandRegistration({"packlist24k", "REGION LIST SCALE", "write the 1:24,000 cells of a region's series",
                         "VEL_MakePackList24K", 3, 3, PackList24K}),
    CommandRegistration({"packlist", "REGION LIST SCALE", "the same, under the export's second name",
                         "VEL_MakePackList", 3, 3, PackList}),
    CommandRegistration({"packlist100k", "REGION LIST SCALE", "write the 1:100,000 sheets of a region's series",
                         "VEL_MakePackList100K", 3, 3, PackList100K}),
};

}  // namespace
}  // namespace velinst::cli
