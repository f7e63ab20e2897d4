#include "http/serialized_http_session.h"

namespace velinst::http {

bool CSerializedHttpSession::Open(const char* host) {
  const std::lock_guard lock(requestLock_);
  if (openCount_++ != 0 && IsOpen()) return true;
  return CHttpSession::Open(host);
}

bool CSerializedHttpSession::Close() {
  const std::lock_guard lock(requestLock_);
  if (openCount_ == 0) return false;  // more closes than opens
  return --openCount_ == 0 ? CHttpSession::Close() : true;
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
