#include <io.h>
#include <process.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "creg/import_diagnostic.h"
#include "creg/reg.h"

namespace velinst {

namespace {

constexpr std::size_t kBufferCapacity = 512;

}  // namespace

bool ImportRegFile(const char* path) {
  char editor[kBufferCapacity];
  const UINT folderLength = ::GetWindowsDirectoryA(editor, kBufferCapacity);
  static constexpr char kEditorName[] = "\\regedit.exe";
  const bool editorNamed = folderLength != 0 && folderLength + sizeof kEditorName <= kBufferCapacity;
  if (editorNamed) std::memcpy(editor + folderLength, kEditorName, sizeof kEditorName);
  const bool editorExists = editorNamed && ::_access(editor, 0) == 0;
  const bool scriptExists = path != nullptr && ::_access(path, 0) == 0;

  // The script's path, quoted; one too long for the buffer is refused, not cut.
  char quoted[kBufferCapacity];
  const bool quotedFits =
      scriptExists && std::snprintf(quoted, sizeof quoted, "\"%s\"", path) < static_cast<int>(sizeof quoted);
  if (!editorExists) {
    ReportImportFailure(kEditorExists);
    return false;
  }
  if (!scriptExists || !quotedFits) {
    ReportImportFailure(kScriptExists, scriptExists ? "the path is too long" : nullptr);
    return false;
  }
  const intptr_t result = ::_spawnl(_P_WAIT, editor, "regedit.exe", "/s", quoted, nullptr);
  if (result < 0) {
    ReportImportFailure(kEditorStarted);
    return false;
  }
  return true;
}

}  // namespace velinst
