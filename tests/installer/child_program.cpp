// A program for the launch tests: "child_program REPORT EXIT [SLEEP_MS] [ARGS...]"
// writes its arguments after the first three, one per line, to REPORT, waits
// SLEEP_MS milliseconds and exits with EXIT.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
  if (argc < 3) return 100;
  const int sleepMs = argc > 3 ? std::atoi(argv[3]) : 0;
  if (sleepMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs));
  if (FILE* report = std::fopen(argv[1], "wb")) {
    for (int i = 4; i < argc; ++i) std::fprintf(report, "%s\n", argv[i]);
    std::fclose(report);
  }
  return std::atoi(argv[2]);
}
