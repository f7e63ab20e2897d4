#include "datetime/wait_timer.h"

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace velinst {

bool WaitForDueTime(std::int64_t due) {
  // A fresh timer for every wait, closed when it ends: nothing is kept.
  const platform::UniqueHandle timer(::CreateWaitableTimerA(nullptr, TRUE, nullptr));
  if (!timer) return false;
  LARGE_INTEGER dueTime{};
  dueTime.QuadPart = due;
  if (!::SetWaitableTimer(timer.Get(), &dueTime, 0, nullptr, nullptr, FALSE)) return false;
  return ::WaitForSingleObject(timer.Get(), INFINITE) == WAIT_OBJECT_0;
}

}  // namespace velinst
