// The stand-in as a process: what it refuses to start with.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

extern char** environ;

namespace velinst::service {
namespace {

class ServiceProcess {
 public:
  explicit ServiceProcess(const std::vector<std::string>& arguments) {
    std::vector<std::string> all = {velinst::test::HelperProgram("velinst-service")};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
  }
  ~ServiceProcess() {
    if (pid_ > 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
  }
  // The exit status, waiting for it.
  int Wait() {
    int status = 0;
    if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
};

// What it refuses to start with: an address other machines reach, and
// settings that would serve without a safe administrator or store.
TEST(ServiceProcessTest, RefusesWhatItCannotServeSafely) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--listen", "0.0.0.0:0"},
                                                    {"--listen", "192.168.1.1:8080"},
                                                    {"--token-ttl", "0"},
                                                    {"--admin", "nopassword"},
                                                    {"--admin", "x", "--admin-password-env", "VELINST_NO_SUCH_VAR"},
                                                    {"--admin", "x", "--admin-password-file", "/no/such/file"},
                                                    {"--control"},
                                                    {"--hash-iterations", "10"},
                                                    {"--bogus"},
                                                    {"--db", "/no/such/folder/x.db"}}) {
    ServiceProcess process(arguments);
    EXPECT_NE(process.Wait(), 0) << arguments[0] << " " << (arguments.size() > 1 ? arguments[1] : "");
  }
  velinst::test::TempDir folder;
  velinst::test::WriteWholeFile(folder.File("service.db"), "not a database at all, just text");
  ServiceProcess corrupt({"--db", folder.File("service.db")});
  EXPECT_NE(corrupt.Wait(), 0);
}

}  // namespace
}  // namespace velinst::service
