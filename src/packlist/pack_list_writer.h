// The pack list as it is written: one name per line, each line ended by a
// carriage return and a line feed on every platform, buffered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include "packlist/list_file.h"

namespace velinst::packlist {

// Thrown when the list cannot be written whole.
struct PackListWriteFailed {};

class PackListWriter {
 public:
  explicit PackListWriter(ListOutput& output);
  PackListWriter(const PackListWriter&) = delete;
  PackListWriter& operator=(const PackListWriter&) = delete;

  // Appends one line; throws PackListWriteFailed when the output refuses it,
  // or when the count of lines would no longer fit the exports' result.
  void Line(std::string_view text) {
    if (used_ + text.size() + 2 > kBufferSize) Flush();
    if (lines_ == kMaxLines) throw PackListWriteFailed();
    char* at = buffer_.get() + used_;
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\r';
    at[text.size() + 1] = '\n';
    used_ += text.size() + 2;
    ++lines_;
  }

  // Hands every buffered line to the output; throws PackListWriteFailed.
  void Flush();

  std::int32_t Lines() const { return lines_; }

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;
  static constexpr std::int32_t kMaxLines = std::numeric_limits<std::int32_t>::max();

  ListOutput& output_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::int32_t lines_ = 0;
};

}  // namespace velinst::packlist
