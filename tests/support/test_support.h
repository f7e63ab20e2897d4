// What tests need of the machine they run on.
#pragma once

#include <string>

namespace velinst::test {

// The folder of the running test program, with a trailing separator. Helper
// programs and the library are built into the same folder.
std::string ProgramDir();

// The file name of a helper program built beside the tests ("name.exe" on Windows).
std::string HelperProgram(const std::string& name);

// A fresh empty folder for one test, removed with its contents by the destructor.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();
  const std::string& Path() const { return path_; }  // with a trailing separator
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Initialises COM on the calling thread for the object's lifetime, as the
// library's callers do before using the XML parser on Windows; nothing on the
// host.
class ComApartment {
 public:
  ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();

 private:
  [[maybe_unused]] bool initialised_ = false;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& contents);
bool FileExists(const std::string& path);

}  // namespace velinst::test
