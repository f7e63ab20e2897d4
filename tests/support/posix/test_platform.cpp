#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace velinst::test {

std::string ProgramDir() {
  char path[PATH_MAX] = {};
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  std::string result(path, length > 0 ? static_cast<std::size_t>(length) : 0);
  return result.substr(0, result.find_last_of('/') + 1);
}

std::string HelperProgram(const std::string& name) { return ProgramDir() + name; }

TempDir::TempDir() {
  const char* base = ::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/velinst-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::filesystem::filesystem_error("mkdtemp", std::error_code(errno, std::generic_category()));
  path_ = pattern + "/";
}

ComApartment::ComApartment() = default;
ComApartment::~ComApartment() = default;

}  // namespace velinst::test
