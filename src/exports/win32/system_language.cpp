#include <windows.h>

#include "exports/language.h"

namespace velinst::platform {

LanguageId SystemDefaultLanguage() { return ::GetSystemDefaultLangID(); }

}  // namespace velinst::platform
