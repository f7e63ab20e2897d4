// The pack list file: created or truncated, written, closed, and removed
// when it cannot be kept. The platform's part.
#pragma once

#include <cstddef>
#include <memory>

namespace velinst::packlist {

class ListOutput {
 public:
  virtual ~ListOutput() = default;
  // Writes all of `data`; false when the system took less (a full disk).
  virtual bool Write(const char* data, std::size_t size) = 0;
  // Closes the file; false when closing reported that data was lost.
  virtual bool Close() = 0;
  // Closes and removes the file. Only a regular file is removed: a device
  // named as the list (/dev/null, NUL) is left alone.
  virtual void Remove() = 0;
};

// True when both paths name one existing file, whatever their texts (a
// second spelling, a link). The list must never be created over the region
// it is made from: truncating it would lose the region before it is read.
bool NamesSameFile(const char* first, const char* second);

// Creates or truncates the file for writing; null when it cannot, with the
// system's error left in the thread's last-error value.
std::unique_ptr<ListOutput> CreateListFile(const char* path);

}  // namespace velinst::packlist
