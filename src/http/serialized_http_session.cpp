#include "http/serialized_http_session.h"

namespace velinst::http {

bool CSerializedHttpSession::Open(const char* host) {
  if (openCount_.fetch_add(1) != 0) return true;
  return CHttpSession::Open(host);
}

bool CSerializedHttpSession::Close() {
  std::uint32_t count = openCount_.load();
  do {
    if (count == 0) return false;  // more closes than opens
  } while (!openCount_.compare_exchange_weak(count, count - 1));
  return count == 1 ? CHttpSession::Close() : true;
}

template <typename Body>
auto CSerializedHttpSession::Serialized(Body&& body) {
  const std::lock_guard lock(requestLock_);
  ThreadRequestState& state = ThisThreadState();
  state.requireStatus = requireStatusDefault_;
  auto result = body();
  state.requireStatus = false;
  return result;
}

HttpBuffer CSerializedHttpSession::Request(std::uint32_t& length, const char* path, std::uint32_t& result) {
  return Serialized([&] { return PerformRequest(length, path, result); });
}

std::uint32_t CSerializedHttpSession::RequestToFile(const char* fileName, const char* path) {
  return Serialized([&] { return PerformRequestToFile(fileName, path); });
}

}  // namespace velinst::http
