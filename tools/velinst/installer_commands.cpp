// Subcommands for the installer helpers: process launch, the last-error
// value and the operating-system code.
#include <cstdio>
#include <cstdlib>

#include "command.h"
#include "velinst.h"

namespace velinst::cli {
namespace {

int ShellExec(const Invocation& invocation) {
  const int result = VELINST_CLI_EXPORT(invocation, VEL_ShellExec)(invocation.Argument(0).c_str(),
                                                                   invocation.ArgumentOr(1, "").c_str());
  std::printf("%d\n", result);
  return result == 1 ? 0 : 1;
}

int ShellExecNoWait(const Invocation& invocation) {
  const int result = VELINST_CLI_EXPORT(invocation, VEL_ShellExecNoWait)(invocation.Argument(0).c_str(),
                                                                         invocation.ArgumentOr(1, "").c_str());
  std::printf("%d\n", result);
  return result == 1 ? 0 : 1;
}

int SetLastErrorCommand(const Invocation& invocation) {
  VELINST_CLI_EXPORT(invocation, VEL_SetLastError)(
      static_cast<unsigned>(std::strtoul(invocation.Argument(0).c_str(), nullptr, 0)));
  return 0;
}

int OperatingSystem(const Invocation& invocation) {
  const int code = VELINST_CLI_EXPORT(invocation, VEL_MD_GetOS)();
  std::printf("%d\n", code);
  return 0;
}

const CommandRegistration kRegistrations[] = {
    CommandRegistration({"shellexec", "PROGRAM [ARGUMENTS]", "start a program and wait for it", "VEL_ShellExec", 1,
                         2, ShellExec}),
    CommandRegistration({"shellexec-nowait", "FILE [PARAMETERS]", "hand a file to the shell, do not wait",
                         "VEL_ShellExecNoWait", 1, 2, ShellExecNoWait}),
    CommandRegistration({"setlasterror", "CODE", "set the thread's last-error value", "VEL_SetLastError", 1, 1,
                         SetLastErrorCommand}),
    CommandRegistration({"os", "", "operating-system code (5 for every current system)", "VEL_MD_GetOS", 0, 0,
                         OperatingSystem}),
};

}  // namespace
}  // namespace velinst::cli
