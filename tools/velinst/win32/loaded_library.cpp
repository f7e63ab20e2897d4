#include "loaded_library.h"

#include <windows.h>

namespace velinst::cli {

LoadedLibrary::~LoadedLibrary() {
  if (handle_ != nullptr) ::FreeLibrary(static_cast<HMODULE>(handle_));
}

bool LoadedLibrary::Open(const std::string& path) {
  handle_ = ::LoadLibraryA(path.c_str());
  if (handle_ == nullptr) error_ = "cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")";
  return handle_ != nullptr;
}

void* LoadedLibrary::Find(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string LoadedLibrary::DefaultPath() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string self(path, length);
  return self.substr(0, self.find_last_of("\\/") + 1) + "velinst.dll";
}

}  // namespace velinst::cli
