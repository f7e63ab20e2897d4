#include "loaded_library.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace velinst::cli {

LoadedLibrary::~LoadedLibrary() {
  if (handle_ != nullptr) ::dlclose(handle_);
}

bool LoadedLibrary::Open(const std::string& path) {
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = ::dlerror();
    error_ = why != nullptr ? why : "cannot load " + path;
  }
  return handle_ != nullptr;
}

void* LoadedLibrary::Find(const char* name) const {
  return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

std::string LoadedLibrary::DefaultPath() {
  char path[PATH_MAX] = {};
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  std::string self(path, length > 0 ? static_cast<std::size_t>(length) : 0);
  const std::string folder = self.substr(0, self.find_last_of('/') + 1);
  // The build folder has program and library side by side; an installed
  // tree has them in bin/ and lib/.
  const std::string beside = folder + VELINST_LIBRARY_FILE;
  const std::string installed = folder + VELINST_LIBRARY_FROM_PROGRAM "/" VELINST_LIBRARY_FILE;
  return ::access(beside.c_str(), F_OK) == 0 || ::access(installed.c_str(), F_OK) != 0 ? beside : installed;
}

}  // namespace velinst::cli
