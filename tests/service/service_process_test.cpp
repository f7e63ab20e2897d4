// The stand-in as a process: what it keeps in its database file, across a
// kill between requests and a restart, and what it refuses to start with.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "service_client.h"
#include "test_support.h"

extern char** environ;

namespace velinst::service::test {
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
  ~ServiceProcess() { Kill(); }
  // The exit status, waiting for it.
  int Wait() {
    int status = 0;
    if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

bool WaitForFile(const std::string& path) {
  for (int i = 0; i < 200; ++i) {
    if (velinst::test::FileExists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

class ServiceProcessTest : public ::testing::Test {
 protected:
  std::unique_ptr<ServiceProcess> Start(std::vector<std::string> more = {}) {
    std::remove(portFile_.c_str());
    std::vector<std::string> arguments = {"--db", database_, "--port-file", portFile_, "--hash-iterations", "1000"};
    if (more.empty() || more[0] != "--admin") arguments.insert(arguments.end(), {"--admin", "root:root-password"});
    arguments.insert(arguments.end(), more.begin(), more.end());
    auto process = std::make_unique<ServiceProcess>(arguments);
    EXPECT_TRUE(WaitForFile(portFile_));
    return process;
  }

  velinst::test::TempDir folder_;
  std::string database_ = folder_.File("service.db");
  std::string portFile_ = folder_.File("service.port");
};

// Killed between requests, it keeps everything across a restart, and what
// it keeps of passwords and tokens is only their hashes.
TEST_F(ServiceProcessTest, KilledBetweenRequestsItKeepsOnlyHashesAcrossARestart) {
  const std::vector<std::string> names = {UniqueName("kept"), UniqueName("kept")};
  std::vector<std::string> tokens;
  {
    auto process = Start();
    ServiceClient client(portFile_);
    ASSERT_TRUE(client.Ready());
    for (const std::string& name : names) {
      tokens.push_back(client.Call("Account.Register",
                                   {{"username", name}, {"password", "same-password"}, {"emailAddress", name + "@x.org"}},
                                   Sealing::kData)
                           .Text("AuthToken"));
      ASSERT_NE(tokens.back(), "<absent>") << name;
    }
    process->Kill();  // SIGKILL: no orderly shutdown
  }
  const std::string file = velinst::test::ReadWholeFile(database_) + velinst::test::ReadWholeFile(database_ + "-wal");
  EXPECT_NE(file.find("pbkdf2-sha256$1000$"), std::string::npos);
  EXPECT_EQ(file.find("same-password"), std::string::npos);
  for (const std::string& token : tokens) EXPECT_EQ(file.find(token), std::string::npos);

  // Restarted with an administrator whose password comes from a file: its
  // first line, kept escaped as the service keeps every text.
  const std::string passwordFile = folder_.File("admin-password");
  velinst::test::WriteWholeFile(passwordFile, "from a file & more\r\nsecond line\n");
  auto process = Start({"--admin", "filed", "--admin-password-file", passwordFile});
  ServiceClient client(portFile_);
  ASSERT_TRUE(client.Ready());
  EXPECT_EQ(client.Call("Account.UsernameExists", {{"username", names[1]}}).Text("Exists"), "True");
  EXPECT_FALSE(client.Login(names[0], "same-password").empty());
  EXPECT_FALSE(client.Login("root", "root-password").empty());
  EXPECT_FALSE(client.Login("filed", "from a file &amp; more").empty());
}

TEST_F(ServiceProcessTest, RefusesWhatItCannotServeSafely) {
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
  velinst::test::WriteWholeFile(database_, "not a database at all, just text");
  ServiceProcess corrupt({"--db", database_});
  EXPECT_NE(corrupt.Wait(), 0);
}

}  // namespace
}  // namespace velinst::service::test
