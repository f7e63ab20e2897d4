// The Windows transport: WinInet, one call per step of the session.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "http/http_transport.h"

namespace velinst::http {
namespace {

static_assert(kFlagNoCacheWrite == INTERNET_FLAG_NO_CACHE_WRITE);
static_assert(kFlagKeepConnection == INTERNET_FLAG_KEEP_CONNECTION);
static_assert(kFlagSecure == INTERNET_FLAG_SECURE);
static_assert(kFlagIgnoreCertNameInvalid == INTERNET_FLAG_IGNORE_CERT_CN_INVALID);
static_assert(kFlagIgnoreCertDateInvalid == INTERNET_FLAG_IGNORE_CERT_DATE_INVALID);

struct InternetHandleClose {
  void operator()(void* handle) const { ::InternetCloseHandle(handle); }
};
using UniqueInternetHandle = std::unique_ptr<void, InternetHandleClose>;

DWORD QueryLevel(ReplyInfo info) {
  switch (info) {
    case ReplyInfo::kContentType:
      return HTTP_QUERY_CONTENT_TYPE;
    case ReplyInfo::kContentDisposition:
      return HTTP_QUERY_CONTENT_DISPOSITION;
    case ReplyInfo::kPragma:
      return HTTP_QUERY_PRAGMA;
    case ReplyInfo::kLastModified:
      return HTTP_QUERY_LAST_MODIFIED;
    case ReplyInfo::kStatusCode:
      return HTTP_QUERY_STATUS_CODE;
  }
  return HTTP_QUERY_STATUS_CODE;
}

class WinInetRequest final : public IHttpRequest {
 public:
  explicit WinInetRequest(HINTERNET handle) : handle_(handle) {}

  bool AddHeader(std::string_view line) override {
    return ::HttpAddRequestHeadersA(handle_.get(), line.data(), static_cast<DWORD>(line.size()),
                                    HTTP_ADDREQ_FLAG_ADD) != FALSE;
  }

  bool Send(const void* body, std::uint32_t length) override {
    return ::HttpSendRequestA(handle_.get(), nullptr, 0, const_cast<void*>(body), length) != FALSE;
  }

  bool Query(ReplyInfo info, std::size_t capacity, std::string& value) override {
    std::vector<char> buffer(capacity);
    DWORD size = static_cast<DWORD>(capacity);
    if (!::HttpQueryInfoA(handle_.get(), QueryLevel(info), buffer.data(), &size, nullptr)) return false;
    value.assign(buffer.data(), std::min<std::size_t>(size, capacity));
    return true;
  }

  bool Read(void* buffer, std::uint32_t size, std::uint32_t& read) override {
    DWORD count = 0;
    const bool ok = ::InternetReadFile(handle_.get(), buffer, size, &count) != FALSE;
    read = ok ? count : 0;
    return ok;
  }

 private:
  UniqueInternetHandle handle_;
};

class WinInetConnection final : public IHttpConnection {
 public:
  explicit WinInetConnection(HINTERNET handle) : handle_(handle) {}

  std::unique_ptr<IHttpRequest> OpenRequest(const char* verb, const char* path, std::uint32_t flags) override {
    HINTERNET request = ::HttpOpenRequestA(handle_.get(), verb, path, "HTTP/1.1", nullptr, nullptr, flags, 0);
    if (request == nullptr) return nullptr;
    return std::make_unique<WinInetRequest>(request);
  }

 private:
  UniqueInternetHandle handle_;
};

class WinInetInternet final : public IInternetHandle {
 public:
  explicit WinInetInternet(HINTERNET handle) : handle_(handle) {}

  bool SetTimeout(TimeoutOption option, std::uint32_t milliseconds) override {
    DWORD value = milliseconds;
    const DWORD id = option == TimeoutOption::kConnect   ? INTERNET_OPTION_CONNECT_TIMEOUT
                     : option == TimeoutOption::kReceive ? INTERNET_OPTION_RECEIVE_TIMEOUT
                                                         : INTERNET_OPTION_SEND_TIMEOUT;
    return ::InternetSetOptionA(handle_.get(), id, &value, sizeof value) != FALSE;
  }

  std::unique_ptr<IHttpConnection> Connect(const std::string& host, std::uint16_t port) override {
    HINTERNET connection = ::InternetConnectA(handle_.get(), host.c_str(), port, "", "", INTERNET_SERVICE_HTTP, 0, 0);
    if (connection == nullptr) return nullptr;
    return std::make_unique<WinInetConnection>(connection);
  }

  bool Close() override {
    if (!handle_) return false;
    return ::InternetCloseHandle(handle_.release()) != FALSE;
  }

 private:
  UniqueInternetHandle handle_;
};

class WinInetTransport final : public IHttpTransport {
 public:
  std::unique_ptr<IInternetHandle> Open(const std::string& agent) override {
    HINTERNET internet = ::InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (internet == nullptr) return nullptr;
    return std::make_unique<WinInetInternet>(internet);
  }

  void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }

  bool GetConnectedState(std::uint32_t& flags) override {
    DWORD state = 0;
    const bool connected = ::InternetGetConnectedState(&state, 0) != FALSE;
    flags = state;
    return connected;
  }

  std::uint32_t AttemptConnect() override { return ::InternetAttemptConnect(0); }
};

}  // namespace

std::unique_ptr<IHttpTransport> MakePlatformTransport() { return std::make_unique<WinInetTransport>(); }

}  // namespace velinst::http
