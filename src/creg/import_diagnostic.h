// The diagnostic of a failed registry-script import: one line on standard
// output naming the condition that did not hold. It never ends the process.
#pragma once

namespace velinst {

inline constexpr char kEditorExists[] = "bRegEditExists";  // the registry editor is in the Windows folder
inline constexpr char kScriptExists[] = "bRegFileExists";  // the script file exists
inline constexpr char kEditorStarted[] = "ret >= 0";       // the editor could be started

void ReportImportFailure(const char* condition, const char* detail = nullptr);

}  // namespace velinst
