// The steps of an HTTP exchange that the session drives, one interface per
// handle level: the internet handle (agent and timeouts), the connection to
// one host, and one request. Closing a level is destroying its object. The
// Windows build answers them with WinInet, the host build with libcurl; the
// tests with fakes that record the calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace velinst::http {

// Request flags, with the values WinInet gives them.
inline constexpr std::uint32_t kFlagNoCacheWrite = 0x04000000;
inline constexpr std::uint32_t kFlagKeepConnection = 0x00400000;
inline constexpr std::uint32_t kFlagSecure = 0x00800000;
inline constexpr std::uint32_t kFlagIgnoreCertNameInvalid = 0x00001000;
inline constexpr std::uint32_t kFlagIgnoreCertDateInvalid = 0x00002000;

// Port 443 for a secure session without a port of its own.
inline constexpr std::uint16_t kSecurePort = 443;

enum class TimeoutOption { kConnect, kReceive, kSend };

// What the session reads of a reply.
enum class ReplyInfo { kContentType, kContentDisposition, kPragma, kLastModified, kStatusCode };

class IHttpRequest {
 public:
  virtual ~IHttpRequest() = default;
  // `line` is one header line ending in "\r\n"; it is added unless the
  // request has a header of that name already.
  virtual bool AddHeader(std::string_view line) = 0;
  // Sends the request with `body` (may be null) and waits for the reply's
  // headers. May be called again after a failure.
  virtual bool Send(const void* body, std::uint32_t length) = 0;
  // The reply's value as text; fails when there is none or when it and its
  // terminator do not fit `capacity` bytes.
  virtual bool Query(ReplyInfo info, std::size_t capacity, std::string& value) = 0;
  // Up to `size` bytes of the body; `read` is 0 at its end.
  virtual bool Read(void* buffer, std::uint32_t size, std::uint32_t& read) = 0;
};

class IHttpConnection {
 public:
  virtual ~IHttpConnection() = default;
  // Null on failure.
  virtual std::unique_ptr<IHttpRequest> OpenRequest(const char* verb, const char* path, std::uint32_t flags) = 0;
};

class IInternetHandle {
 public:
  virtual ~IInternetHandle() = default;
  virtual bool SetTimeout(TimeoutOption option, std::uint32_t milliseconds) = 0;
  // `port` 0 is the protocol's default. Null on failure.
  virtual std::unique_ptr<IHttpConnection> Connect(const std::string& host, std::uint16_t port) = 0;
  // Closes the handle now and reports whether that succeeded.
  virtual bool Close() = 0;
};

class IHttpTransport {
 public:
  virtual ~IHttpTransport() = default;
  // Null on failure.
  virtual std::unique_ptr<IInternetHandle> Open(const std::string& agent) = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Whether the machine has a connection, and its kind of connection.
  virtual bool GetConnectedState(std::uint32_t& flags) = 0;
  // Asks the system to connect; 0 (success) or a system error code.
  virtual std::uint32_t AttemptConnect() = 0;
};

// The platform's transport: WinInet on Windows, libcurl on the host.
std::unique_ptr<IHttpTransport> MakePlatformTransport();

}  // namespace velinst::http
