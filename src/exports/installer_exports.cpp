// The installer helpers that belong to no other service: process launch, the
// last-error value and the operating-system code.
#include <string>

#include "errors/export_guard.h"
#include "installer/command_line.h"
#include "installer/os_version.h"
#include "installer/process_launch.h"
#include "platform/last_error.h"
#include "velinst.h"

using velinst::GuardedExport;

extern "C" {

VELINST_EXPORT int VELAPI VEL_ShellExec(const char* program, const char* arguments) {
  return GuardedExport(0, [&] {
    std::string commandLine;
    if (!velinst::BuildQuotedCommandLine(program, arguments, commandLine)) {
      // Refused whole: a cut command line would start something else.
      velinst::platform::SetLastError(velinst::platform::kErrorTooLong);
      return 0;
    }
    return velinst::platform::RunAndWait(commandLine) ? 1 : 0;
  });
}

VELINST_EXPORT int VELAPI VEL_ShellExecNoWait(const char* file, const char* parameters) {
  return GuardedExport(0, [&] { return velinst::platform::OpenWithShell(file, parameters) ? 1 : 0; });
}

VELINST_EXPORT void VELAPI VEL_SetLastError(unsigned int code) { velinst::platform::SetLastError(code); }

VELINST_EXPORT int VELAPI VEL_MD_GetOS(void) {
  return GuardedExport(3, [] { return velinst::OsCodeFromProbe(velinst::platform::VerifyVersion); });
}

}  // extern "C"
