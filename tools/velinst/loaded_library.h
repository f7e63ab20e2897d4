// The velinst library, loaded at run time and searched by plain export name,
// as an installer loads it.
#pragma once

#include <string>

namespace velinst::cli {

class LoadedLibrary {
 public:
  LoadedLibrary() = default;
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  ~LoadedLibrary();

  // Loads the library at `path`; false with Error() telling why.
  bool Open(const std::string& path);
  // The address of an export by its plain, undecorated name, or null.
  void* Find(const char* name) const;
  const std::string& Error() const { return error_; }

  // The library built beside this program (libvelinst.so.N or velinst.dll), or
  // on Linux the one installed in the lib/ folder next to its bin/ folder.
  static std::string DefaultPath();

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace velinst::cli
