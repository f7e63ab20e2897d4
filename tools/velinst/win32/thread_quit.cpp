#include <windows.h>

#include "thread_quit.h"

namespace velinst::cli {

std::uint64_t CurrentThreadToken() { return ::GetCurrentThreadId(); }

bool PostQuit(std::uint64_t thread) { return ::PostThreadMessageW(static_cast<DWORD>(thread), WM_QUIT, 0, 0) != FALSE; }

}  // namespace velinst::cli
