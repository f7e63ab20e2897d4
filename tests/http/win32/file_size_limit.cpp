#include "file_size_limit.h"

namespace velinst::http::test {

// Windows has no per-process file size limit.
FileSizeLimit::FileSizeLimit(std::size_t) {}
FileSizeLimit::~FileSizeLimit() = default;

}  // namespace velinst::http::test
