#include "file_size_limit.h"

#include <signal.h>
#include <sys/resource.h>

namespace velinst::http::test {

FileSizeLimit::FileSizeLimit(std::size_t bytes) {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return;
  previous_ = limit.rlim_cur;
  // Past the limit a write fails with EFBIG instead of ending the process.
  signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  applied_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
  if (!applied_) return;
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = static_cast<rlim_t>(previous_);
  setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace velinst::http::test
