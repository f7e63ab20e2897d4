#include "rdb/output_text.h"

#include <algorithm>
#include <cstring>

namespace velinst {

void CopyDisplayText(char* buffer, std::string_view text) {
  const std::size_t length = std::min(text.size(), kRdbOutputSize - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

bool CopyToken(char* buffer, std::string_view token) {
  if (token.size() >= kRdbOutputSize) return false;
  CopyDisplayText(buffer, token);
  return true;
}

}  // namespace velinst
