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
  return self.substr(0, self.find_last_of('/') + 1) + "libvelinst.so";
}

}  // namespace velinst::cli
