// Makes the process's writes fail past a file size, to produce a short write
// for real. Where the system has no such limit, Applied() is false.
#pragma once

#include <cstddef>

namespace velinst::http::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes);
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit();
  bool Applied() const { return applied_; }

 private:
  bool applied_ = false;
  unsigned long long previous_ = 0;
};

}  // namespace velinst::http::test
