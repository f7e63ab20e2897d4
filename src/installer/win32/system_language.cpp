#include <windows.h>

#include "installer/language.h"

namespace velinst::platform {

LanguageId SystemDefaultLanguage() { return ::GetSystemDefaultLangID(); }

}  // namespace velinst::platform
