// A session shared by nested users and run one request at a time: Open and
// Close are counted (only the first Open and the matching last Close act),
// and each request holds the request lock from start to end with the
// calling thread's requireStatus set to the session's default. Open and
// Close take the request lock too: the last Close waits for the running
// request, and no request starts on a session half opened. An Open that
// finds the session closed after an earlier Open failed opens it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "http/http_session.h"

namespace velinst::http {

class CSerializedHttpSession : public CHttpSession {
 public:
  using CHttpSession::CHttpSession;

  bool Open(const char* host) override;
  bool Close() override;
  using CHttpSession::Request;
  HttpBuffer Request(std::uint32_t& length, const char* path, std::uint32_t& result) override;
  std::uint32_t RequestToFile(const char* fileName, const char* path) override;

  void SetRequireStatusDefault(bool require) { requireStatusDefault_ = require; }

 private:
  template <typename Body>
  auto Serialized(Body&& body);

  std::mutex requestLock_;
  std::uint32_t openCount_ = 0;  // guarded by requestLock_
  std::atomic<bool> requireStatusDefault_{false};
};

}  // namespace velinst::http
