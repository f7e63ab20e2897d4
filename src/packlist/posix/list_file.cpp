#include "packlist/list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace velinst::packlist {
namespace {

class PosixListFile final : public ListOutput {
 public:
  explicit PosixListFile(const char* path) : path_(path) {}
  PosixListFile(const PosixListFile&) = delete;
  PosixListFile& operator=(const PosixListFile&) = delete;
  ~PosixListFile() override { Close(); }

  bool Open() {
    descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor_ < 0) return false;
    struct stat info {};
    regular_ = ::fstat(descriptor_, &info) == 0 && S_ISREG(info.st_mode);
    return true;
  }

  bool Write(const char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t written = ::write(descriptor_, data, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      data += written;
      size -= static_cast<std::size_t>(written);
    }
    return true;
  }

  bool Close() override {
    if (descriptor_ < 0) return true;
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result == 0;
  }

  // The error of the failure that led here stays the thread's error.
  void Remove() override {
    const int error = errno;
    Close();
    if (regular_) ::unlink(path_.c_str());
    errno = error;
  }

 private:
  std::string path_;
  int descriptor_ = -1;
  bool regular_ = false;
};

}  // namespace

bool NamesSameFile(const char* first, const char* second) {
  if (first == nullptr || second == nullptr) return false;
  const int error = errno;
  struct stat firstInfo {};
  struct stat secondInfo {};
  const bool same = ::stat(first, &firstInfo) == 0 && ::stat(second, &secondInfo) == 0 &&
                    firstInfo.st_dev == secondInfo.st_dev && firstInfo.st_ino == secondInfo.st_ino;
  errno = error;
  return same;
}

std::unique_ptr<ListOutput> CreateListFile(const char* path) {
  if (path == nullptr) {
    errno = EINVAL;
    return nullptr;
  }
  auto file = std::make_unique<PosixListFile>(path);
  if (!file->Open()) return nullptr;
  return file;
}

}  // namespace velinst::packlist
