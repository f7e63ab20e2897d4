// The stand-in as a process: what it refuses to start with.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_support.h"

namespace velinst::service {
namespace {

// The stand-in's exit status; 124 when it is still serving after ten seconds.
int ExitStatus(const std::vector<std::string>& arguments) {
  std::string command = "timeout 10 '" + velinst::test::HelperProgram("velinst-service") + "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What it refuses to start with: an address other machines reach, and
// settings that would serve without a safe administrator or store.
TEST(ServiceProcessTest, RefusesWhatItCannotServeSafely) {
  velinst::test::TempDir folder;
  velinst::test::WriteWholeFile(folder.File("service.db"), "not a database at all, just text");
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--listen", "0.0.0.0:0"},
                                                    {"--listen", "192.168.1.1:8080"},
                                                    {"--token-ttl", "0"},
                                                    {"--admin", "nopassword"},
                                                    {"--admin", "x", "--admin-password-env", "VELINST_NO_SUCH_VAR"},
                                                    {"--admin", "x", "--admin-password-file", "/no/such/file"},
                                                    {"--control"},
                                                    {"--hash-iterations", "10"},
                                                    {"--bogus"},
                                                    {"--db", "/no/such/folder/x.db"},
                                                    {"--db", folder.File("service.db")}}) {
    const int status = ExitStatus(arguments);
    EXPECT_TRUE(status > 0 && status < 124) << status << ": " << arguments.back();
  }
}

}  // namespace
}  // namespace velinst::service
