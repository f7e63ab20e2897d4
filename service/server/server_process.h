// The process side of the loopback servers of the tests (the scripted test
// server, the account-service stand-in): the port file a ctest fixture
// reads, leaving the fixture behind, and stopping a server again.
#pragma once

#include <string>

namespace velinst::testserver {

// The port on the first line and the server's process id on the second,
// written whole under a temporary name first, so a reader never sees half.
bool WritePortFile(const std::string& path, int port);

// How a server is asked to quit: by the control path's quit request, or
// (a server whose control path is closed) by SIGTERM to the process id of
// the port file.
enum class StopBy { kQuitRequest, kSignal };

// Asks the server whose port the file names to quit, removes the file and
// waits (up to ten seconds) until the process has ended, so that what it
// writes at its end (a sanitizer's report) is complete. 0, also when no
// server runs.
int StopServer(const std::string& portFile, StopBy how = StopBy::kQuitRequest);

// Writes `secret` to `path`, readable and writable by the owner only.
bool WriteSecretFile(const std::string& path, const std::string& secret);

// Leaves the caller (a ctest fixture) behind: the process forks, and the
// caller's side waits until the server calls StartupDone, then ends with 0,
// or with 1 when the server ends first. Until then the server keeps the
// caller's output, so its start-up errors reach the caller.
void DetachFromCaller();
// In a detached server: drops the caller's output (ctest waits for its
// pipes to close, not for the process) and lets the caller go. Does nothing
// in a server that did not detach.
void StartupDone();

}  // namespace velinst::testserver
