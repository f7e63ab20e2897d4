// The installer helpers about the machine the installer runs on: its
// language, the shell's autoplay, removable media, network shares and fonts.
#include <algorithm>
#include <cstring>

#include "errors/export_guard.h"
#include "installer/autoplay.h"
#include "installer/font_name.h"
#include "installer/language.h"
#include "installer/share_path.h"
#include "platform/cdos.h"
#include "velinst.h"

using velinst::GuardedExport;

extern "C" {

VELINST_EXPORT int VELAPI VEL_GetLanguageID(void) {
  return GuardedExport(static_cast<int>(velinst::kEnglishUnitedStates),
                       [] { return static_cast<int>(velinst::CLanguage().Id()); });
}

VELINST_EXPORT int VELAPI VEL_AutoplayStart(void) {
  return GuardedExport(0, [] { return velinst::platform::StartAutoplaySuppression(L"") ? 1 : 0; });
}

VELINST_EXPORT int VELAPI VEL_AutoplayStop(void) {
  return GuardedExport(0, [] { return static_cast<int>(velinst::platform::StopAutoplaySuppression()); });
}

VELINST_EXPORT int VELAPI VEL_Eject(const char* drive) {
  return GuardedExport(0, [&] {
    // An empty text names no drive, as a null one.
    if (drive == nullptr || drive[0] == '\0') return 0;
    // Clearing bit 0x20 makes a lower-case ASCII letter upper case.
    return velinst::CDOS().Eject(static_cast<char>(drive[0] & ~0x20));
  });
}

VELINST_EXPORT int VELAPI VEL_UNCtoLocal(const char* server, const char* share, char* buffer, int size) {
  return GuardedExport(0, [&] {
    return velinst::LocalPathOfShare(*velinst::platform::SystemShareEnumerator(), server, share, buffer, size);
  });
}

VELINST_EXPORT int VELAPI VEL_FontNameFile(const char* path, char* buffer, int size) {
  return GuardedExport(0, [&] {
    if (path == nullptr || buffer == nullptr) return 0;
    buffer[0] = '\0';
    velinst::FileBytes file;
    if (!file.Open(path)) return 0;
    const velinst::FontName font = velinst::ReadFontName(file);
    // The caller's buffer holds size characters and a terminator after them.
    const std::size_t copied = std::min(font.name.size(), static_cast<std::size_t>(std::max(size, 0)));
    std::memcpy(buffer, font.name.data(), copied);
    buffer[copied] = '\0';
    return font.familyFound;
  });
}

}  // extern "C"
