#include "installer/autoplay.h"

#include "installer/wide_text.h"

namespace velinst {

bool IsAcceptableDriveRoot(std::wstring_view root, std::uint32_t logicalDrives) {
  if (root.size() < 2) return false;
  const wchar_t letter = root[0];
  int index = -1;
  if (letter >= L'A' && letter <= L'Z') index = letter - L'A';
  if (letter >= L'a' && letter <= L'z') index = letter - L'a';
  return index >= 0 && (logicalDrives >> index & 1u) != 0 && root[1] == L':' && root.back() == L'\\';
}

bool CancelsAutoplay(bool suppressing, std::wstring_view ownDrive, std::wstring_view eventDrive,
                     std::uint32_t contentType, std::uint32_t contentMask) {
  if (!suppressing || !EqualIgnoringCase(ownDrive, eventDrive)) return false;
  return (contentType & contentMask) != 0;
}

bool TakeDrive(std::wstring_view root, const std::function<bool(std::wstring_view)>& take) {
  if (!root.empty()) return take(root);
  wchar_t candidate[] = L"A:\\";
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    candidate[0] = letter;
    if (take(candidate)) return true;
  }
  return false;
}

}  // namespace velinst
