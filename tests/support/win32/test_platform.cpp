#include <windows.h>

#include <objbase.h>

#include <string>

#include "test_support.h"

namespace velinst::test {

std::string ProgramDir() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string result(path, length);
  return result.substr(0, result.find_last_of("\\/") + 1);
}

std::string HelperProgram(const std::string& name) { return ProgramDir() + name + ".exe"; }

TempDir::TempDir() {
  char base[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::string(base) + "velinst-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "\\";
    if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

ComApartment::ComApartment() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComApartment::~ComApartment() {
  if (initialised_) ::CoUninitialize();
}

}  // namespace velinst::test
