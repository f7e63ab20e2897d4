#include "installer/language.h"

#include <cstring>

namespace velinst {

CLanguage::CLanguage() : id_(platform::SystemDefaultLanguage()) {}

LanguageId CLanguage::Name(char* buffer, std::size_t size) const {
  if (buffer != nullptr) std::strncpy(buffer, LanguageNameOf(id_), size);
  return id_;
}

}  // namespace velinst
