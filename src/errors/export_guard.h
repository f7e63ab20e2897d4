// Nothing escapes an export: every export body runs inside this guard, which
// turns any exception into the export's documented failure result.
#pragma once

#include <utility>

namespace velinst {

template <typename Result, typename Body>
Result GuardedExport(Result failure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return failure;
  }
}

}  // namespace velinst
