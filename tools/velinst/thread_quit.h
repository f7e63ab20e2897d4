// Ending another thread's message loop, for the autoplay command: the start
// export pumps its thread's messages until it is posted the quit message.
#pragma once

#include <cstdint>

namespace velinst::cli {

std::uint64_t CurrentThreadToken();
// Posts the quit message to the thread; false when it has no queue yet
// (nothing to do on the host).
bool PostQuit(std::uint64_t thread);

}  // namespace velinst::cli
