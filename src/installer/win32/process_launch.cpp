#include "installer/process_launch.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "installer/command_line.h"
#include "platform/win32/unique_handle.h"

namespace velinst::platform {

bool RunAndWait(const std::string& commandLine) {
  // CreateProcessA may write into the command line, so it gets its own buffer.
  char buffer[kCommandLineCapacity] = {};
  if (commandLine.size() >= sizeof buffer) {
    ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  std::memcpy(buffer, commandLine.data(), commandLine.size());

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started = {};
  if (!::CreateProcessA(nullptr, buffer, nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &startup, &started))
    return false;
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  ::WaitForSingleObject(process.Get(), INFINITE);
  process.Close();
  thread.Close();
  return true;
}

bool OpenWithShell(const char* file, const char* parameters) {
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.nShow = SW_HIDE;
  if (!::ShellExecuteExA(&info)) return false;
  // The process handle that the mask asks for is not kept.
  UniqueHandle process(info.hProcess);
  return true;
}

}  // namespace velinst::platform
