// The host's transport on libcurl. One easy handle per request, driven by a
// multi handle of its own so that sending (up to the reply's headers) and
// reading the body in chunks stay separate steps: the body is held back by
// pausing the transfer until it is read, and never read when the session
// drops the request. WinInet's default timeouts apply.
//
// Keep-alive: a connection lives in the cache of the multi handle that
// opened it, and finished requests hand their multi handle back to a pool,
// so the next request reuses the connection. A multi handle, with its
// connections, serves one request at a time, on one thread at a time:
// libcurl does not support a connection cache shared between threads. What
// it does support sharing across threads, the name lookups and the TLS
// sessions, every request of an internet handle shares.
//
// HTTP/1.1 only, as WinInet speaks it. Redirects are followed here, not by
// libcurl, so that each one passes the rule of redirect_rule.h.
#include <curl/curl.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "http/http_transport.h"
#include "http/redirect_rule.h"

namespace velinst::http {
namespace {

using Clock = std::chrono::steady_clock;

// WinInet's defaults.
constexpr std::uint32_t kDefaultConnectTimeoutMs = 60000;
constexpr std::uint32_t kDefaultReceiveTimeoutMs = 30000;
constexpr std::uint32_t kDefaultSendTimeoutMs = 30000;
constexpr long kMaxRedirects = 30;
constexpr long kReceiveBufferSize = 256 * 1024;
constexpr std::uint32_t kConnectionLan = 0x02;  // INTERNET_CONNECTION_LAN
// Idle multi handles kept for later requests; more are closed.
constexpr std::size_t kIdleMultiLimit = 8;

struct CurlGlobal {
  CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

void InitCurlOnce() {
  static CurlGlobal global;
  static_cast<void>(global);
}

// What every request of one internet handle shares: name lookups and TLS
// sessions, and the multi handles of finished requests with their idle
// connections (a new one costs a socket pair and a connection). Requests
// keep it alive until they end, even past the handle's close.
class SharedCache {
 public:
  SharedCache() : share_(curl_share_init()) {
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &SharedCache::Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &SharedCache::Unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  }
  SharedCache(const SharedCache&) = delete;
  SharedCache& operator=(const SharedCache&) = delete;
  ~SharedCache() {
    for (CURLM* multi : idleMultis_) curl_multi_cleanup(multi);
    curl_share_cleanup(share_);
  }

  CURLSH* Get() const { return share_; }

  // A multi handle without transfers for one request; null when curl has none.
  CURLM* TakeMulti() {
    {
      const std::lock_guard lock(idleLock_);
      if (!idleMultis_.empty()) {
        CURLM* const multi = idleMultis_.back();
        idleMultis_.pop_back();
        return multi;
      }
    }
    return curl_multi_init();
  }

  // Takes back a multi handle whose transfers have all been removed.
  void GiveBackMulti(CURLM* multi) {
    {
      const std::lock_guard lock(idleLock_);
      if (idleMultis_.size() < kIdleMultiLimit) {
        idleMultis_.push_back(multi);
        return;
      }
    }
    curl_multi_cleanup(multi);
  }

 private:
  // One lock for every kind of data: the share's parts refer to each other.
  static void Lock(CURL*, curl_lock_data, curl_lock_access, void* self) {
    static_cast<SharedCache*>(self)->lock_.lock();
  }
  static void Unlock(CURL*, curl_lock_data, void* self) { static_cast<SharedCache*>(self)->lock_.unlock(); }

  CURLSH* share_;
  std::recursive_mutex lock_;
  std::mutex idleLock_;
  std::vector<CURLM*> idleMultis_;
};

struct InternetSettings {
  std::string agent;
  std::uint32_t connectTimeoutMs = kDefaultConnectTimeoutMs;
  std::uint32_t receiveTimeoutMs = kDefaultReceiveTimeoutMs;
  std::uint32_t sendTimeoutMs = kDefaultSendTimeoutMs;
  std::shared_ptr<SharedCache> cache;
};

struct CurlSlistFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct CurlEasyFree {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct CurlUrlFree {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlMultiGiveBack {
  SharedCache* cache;
  void operator()(CURLM* multi) const { cache->GiveBackMulti(multi); }
};

bool SameHeaderName(std::string_view line, std::string_view other) {
  const std::size_t a = line.find(':');
  const std::size_t b = other.find(':');
  if (a == std::string_view::npos || a != b) return false;
  for (std::size_t i = 0; i < a; ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != std::tolower(static_cast<unsigned char>(other[i])))
      return false;
  return true;
}

// WinInet sends the object path as given, with spaces escaped; curl also
// refuses control and non-ASCII bytes, so those are escaped too.
std::string BuildUrl(bool secure, const std::string& host, std::uint16_t port, const char* path) {
  std::string url = secure ? "https://" : "http://";
  if (host.find(':') != std::string::npos)
    url += "[" + host + "]";
  else
    url += host;
  if (port != 0) url += ":" + std::to_string(port);
  if (path == nullptr || path[0] != '/') url += '/';
  static const char kHex[] = "0123456789ABCDEF";
  for (const char* at = path; at != nullptr && *at != '\0'; ++at) {
    const auto byte = static_cast<unsigned char>(*at);
    if (byte <= 0x20 || byte >= 0x7F) {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 0x0F];
    } else {
      url += *at;
    }
  }
  return url;
}

class CurlRequest final : public IHttpRequest {
 public:
  CurlRequest(const InternetSettings& settings, std::string url, const char* verb, std::uint32_t flags)
      : settings_(settings), requestUrl_(std::move(url)), requestVerb_(verb), flags_(flags) {}

  bool Init() {
    easy_.reset(curl_easy_init());
    multi_ = std::unique_ptr<CURLM, CurlMultiGiveBack>(settings_.cache->TakeMulti(),
                                                       CurlMultiGiveBack{settings_.cache.get()});
    if (!easy_ || !multi_) return false;
    // Headers curl would add that WinInet does not send.
    for (const char* line : {"Accept:", "Expect:", "Content-Type:"}) AppendHeader(line);
    return headers_ != nullptr;
  }

  // The transfer leaves the multi handle before it goes back to the cache.
  ~CurlRequest() override {
    if (added_) curl_multi_remove_handle(multi_.get(), easy_.get());
  }

  bool AddHeader(std::string_view line) override {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.find(':') == std::string_view::npos) return false;
    for (const std::string& existing : added_headers_)
      if (SameHeaderName(existing, line)) return true;
    added_headers_.emplace_back(line);
    return AppendHeader(added_headers_.back().c_str());
  }

  // Every send starts at the URL and verb the request was opened with.
  bool Send(const void* body, std::uint32_t length) override {
    url_ = requestUrl_;
    verb_ = requestVerb_;
    for (long redirects = 0;; ++redirects) {
      if (!StartTransfer(body, length)) return false;
      Drive([this] { return headersDone_; });
      if (!headersDone_ || (done_ && result_ != CURLE_OK)) return false;
      if (redirects == kMaxRedirects) return true;
      switch (NextStep()) {
        case RedirectStep::kStop:
          return true;
        case RedirectStep::kRepeat:
          break;
        case RedirectStep::kGetWithoutBody:
          verb_ = "GET";
          body = nullptr;
          length = 0;
          break;
      }
    }
  }

  bool Query(ReplyInfo info, std::size_t capacity, std::string& value) override {
    if (!headersDone_) return false;
    std::string text;
    if (info == ReplyInfo::kStatusCode) {
      long code = 0;
      if (curl_easy_getinfo(easy_.get(), CURLINFO_RESPONSE_CODE, &code) != CURLE_OK || code == 0) return false;
      text = std::to_string(code);
    } else {
      curl_header* header = nullptr;
      if (curl_easy_header(easy_.get(), HeaderName(info), 0, CURLH_HEADER, -1, &header) != CURLHE_OK) return false;
      text = header->value;
    }
    if (text.size() >= capacity) return false;
    value = std::move(text);
    return true;
  }

  bool Read(void* buffer, std::uint32_t size, std::uint32_t& read) override {
    read = 0;
    if (!headersDone_) return false;
    target_ = static_cast<char*>(buffer);
    room_ = size;
    filled_ = 0;
    TakeHeldBack();
    if (filled_ < room_ && !done_) {
      reading_ = true;
      if (paused_) {
        paused_ = false;
        curl_easy_pause(easy_.get(), CURLPAUSE_CONT);
      }
      Drive([this] { return filled_ == room_; });
      reading_ = false;
    }
    read = static_cast<std::uint32_t>(filled_);
    target_ = nullptr;
    return filled_ != 0 || !done_ || result_ == CURLE_OK;
  }

 private:
  static const char* HeaderName(ReplyInfo info) {
    switch (info) {
      case ReplyInfo::kContentType:
        return "Content-Type";
      case ReplyInfo::kContentDisposition:
        return "Content-Disposition";
      case ReplyInfo::kPragma:
        return "Pragma";
      case ReplyInfo::kLastModified:
        return "Last-Modified";
      case ReplyInfo::kStatusCode:
        break;
    }
    return "";
  }

  bool StartTransfer(const void* body, std::uint32_t length) {
    if (added_) curl_multi_remove_handle(multi_.get(), easy_.get());
    added_ = false;
    ResetTransfer();
    if (!Configure(body, length)) return false;
    if (curl_multi_add_handle(multi_.get(), easy_.get()) != CURLM_OK) return false;
    added_ = true;
    return true;
  }

  // What to do with the reply whose headers just ended; a redirect that is
  // followed leaves its new location in url_. The location is resolved
  // here: libcurl tells it only once the redirect's body has been read.
  RedirectStep NextStep() {
    long code = 0;
    curl_header* location = nullptr;
    if (curl_easy_getinfo(easy_.get(), CURLINFO_RESPONSE_CODE, &code) != CURLE_OK ||
        curl_easy_header(easy_.get(), "Location", 0, CURLH_HEADER, -1, &location) != CURLHE_OK)
      return RedirectStep::kStop;
    const std::unique_ptr<CURLU, CurlUrlFree> from(curl_url());
    const std::unique_ptr<CURLU, CurlUrlFree> to(curl_url());
    if (!from || !to || curl_url_set(from.get(), CURLUPART_URL, url_.c_str(), 0) != CURLUE_OK ||
        curl_url_set(to.get(), CURLUPART_URL, url_.c_str(), 0) != CURLUE_OK ||
        curl_url_set(to.get(), CURLUPART_URL, location->value, CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
      return RedirectStep::kStop;
    UrlOrigin fromOrigin;
    UrlOrigin toOrigin;
    std::string next;
    if (!Part(from.get(), CURLUPART_SCHEME, fromOrigin.scheme) || !Part(from.get(), CURLUPART_HOST, fromOrigin.host) ||
        !Part(to.get(), CURLUPART_SCHEME, toOrigin.scheme) || !Part(to.get(), CURLUPART_HOST, toOrigin.host) ||
        !Part(to.get(), CURLUPART_URL, next))
      return RedirectStep::kStop;
    const RedirectStep step = NextRedirectStep(code, fromOrigin, toOrigin);
    if (step != RedirectStep::kStop) url_ = std::move(next);
    return step;
  }

  static bool Part(CURLU* url, CURLUPart part, std::string& value) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, 0) != CURLUE_OK || text == nullptr) return false;
    value = text;
    curl_free(text);
    return true;
  }

  bool AppendHeader(const char* line) {
    curl_slist* extended = curl_slist_append(headers_.get(), line);
    if (extended == nullptr) return false;
    static_cast<void>(headers_.release());
    headers_.reset(extended);
    return true;
  }

  void ResetTransfer() {
    headersDone_ = done_ = paused_ = reading_ = connected_ = false;
    result_ = CURLE_OK;
    heldBack_.clear();
    heldBackOffset_ = 0;
    headersSeen_ = false;
    activity_ = 0;
    lastUploaded_ = 0;
  }

  bool Configure(const void* body, std::uint32_t length) {
    CURL* easy = easy_.get();
    bool ok = curl_easy_setopt(easy, CURLOPT_URL, url_.c_str()) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_SHARE, settings_.cache->Get()) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_USERAGENT, settings_.agent.c_str()) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers_.get()) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.connectTimeoutMs)) == CURLE_OK;
    if (flags_ & kFlagIgnoreCertNameInvalid) ok &= curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlRequest::OnHeader) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_HEADERDATA, this) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlRequest::OnBody) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_WRITEDATA, this) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &CurlRequest::OnConnected) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_PREREQDATA, this) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_POST, 0L) == CURLE_OK;
    ok &= curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, nullptr) == CURLE_OK;
    if (verb_ == "POST") {
      static const char kEmpty[] = "";
      ok &= curl_easy_setopt(easy, CURLOPT_POST, 1L) == CURLE_OK;
      ok &= curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(length)) == CURLE_OK;
      ok &= curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body != nullptr ? body : kEmpty) == CURLE_OK;
    } else {
      ok &= curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK;
      if (verb_ != "GET") ok &= curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb_.c_str()) == CURLE_OK;
    }
    return ok;
  }

  // Runs the transfer until `finished` holds, the transfer ends, or the
  // server stays silent longer than the timeout of the current phase.
  template <typename Finished>
  void Drive(Finished finished) {
    std::uint64_t seen = activity_;
    Clock::time_point lastActivity = Clock::now();
    while (!finished() && !done_) {
      int running = 0;
      if (curl_multi_perform(multi_.get(), &running) != CURLM_OK) return Fail(CURLE_FAILED_INIT);
      CollectResult();
      if (finished() || done_) return;
      const Clock::time_point now = Clock::now();
      if (activity_ != seen || !connected_) {
        seen = activity_;
        lastActivity = now;
      }
      const auto limit =
          std::chrono::milliseconds(UploadPending() ? settings_.sendTimeoutMs : settings_.receiveTimeoutMs);
      const auto idle = now - lastActivity;
      if (idle >= limit) return Fail(CURLE_OPERATION_TIMEDOUT);
      const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(limit - idle).count();
      curl_multi_poll(multi_.get(), nullptr, 0, static_cast<int>(std::min<long long>(wait + 1, 1000)), nullptr);
    }
  }

  bool UploadPending() {
    curl_off_t uploaded = 0;
    curl_easy_getinfo(easy_.get(), CURLINFO_SIZE_UPLOAD_T, &uploaded);
    if (uploaded != lastUploaded_) {
      lastUploaded_ = uploaded;
      ++activity_;
    }
    return verb_ == "POST" && !headersSeen_;
  }

  void Fail(CURLcode code) {
    done_ = true;
    result_ = code;
    if (added_) curl_multi_remove_handle(multi_.get(), easy_.get());
    added_ = false;
  }

  void CollectResult() {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
      if (message->msg != CURLMSG_DONE || message->easy_handle != easy_.get()) continue;
      done_ = true;
      result_ = message->data.result;
      // A complete reply ends its headers too (an empty body calls no writer).
      if (result_ == CURLE_OK) headersDone_ = true;
    }
  }

  void TakeHeldBack() {
    const std::size_t count = std::min(heldBack_.size() - heldBackOffset_, room_ - filled_);
    if (count == 0) return;
    std::memcpy(target_ + filled_, heldBack_.data() + heldBackOffset_, count);
    filled_ += count;
    heldBackOffset_ += count;
    if (heldBackOffset_ == heldBack_.size()) {
      heldBack_.clear();
      heldBackOffset_ = 0;
    }
  }

  static int OnConnected(void* self, char*, char*, int, int) {
    static_cast<CurlRequest*>(self)->connected_ = true;
    return CURL_PREREQFUNC_OK;
  }

  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto& request = *static_cast<CurlRequest*>(self);
    const std::size_t length = size * count;
    ++request.activity_;
    request.headersSeen_ = true;
    const std::string_view line(data, length);
    if (line == "\r\n" || line == "\n") request.OnHeadersEnd();
    return length;
  }

  // The reply's headers end here unless an interim 1xx reply precedes it.
  void OnHeadersEnd() {
    long code = 0;
    curl_easy_getinfo(easy_.get(), CURLINFO_RESPONSE_CODE, &code);
    if (code >= 200) headersDone_ = true;
  }

  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto& request = *static_cast<CurlRequest*>(self);
    const std::size_t length = size * count;
    request.headersDone_ = true;
    if (!request.reading_ || request.filled_ == request.room_) {
      request.paused_ = true;
      return CURL_WRITEFUNC_PAUSE;
    }
    ++request.activity_;
    const std::size_t direct = std::min(length, request.room_ - request.filled_);
    std::memcpy(request.target_ + request.filled_, data, direct);
    request.filled_ += direct;
    request.heldBack_.insert(request.heldBack_.end(), data + direct, data + length);
    return length;
  }

  const InternetSettings settings_;
  const std::string requestUrl_;
  const std::string requestVerb_;
  const std::uint32_t flags_;
  // Where and how the current transfer goes: the request's own, or a
  // redirect's.
  std::string url_;
  std::string verb_;
  std::unique_ptr<CURL, CurlEasyFree> easy_;
  std::unique_ptr<CURLM, CurlMultiGiveBack> multi_;
  std::unique_ptr<curl_slist, CurlSlistFree> headers_;
  std::vector<std::string> added_headers_;
  bool added_ = false;

  bool headersSeen_ = false;
  bool headersDone_ = false;
  bool done_ = false;
  bool paused_ = false;
  bool reading_ = false;
  bool connected_ = false;
  CURLcode result_ = CURLE_OK;
  std::uint64_t activity_ = 0;
  curl_off_t lastUploaded_ = 0;

  // The caller's buffer of the current Read, and the part of a delivered
  // block that did not fit it.
  char* target_ = nullptr;
  std::size_t room_ = 0;
  std::size_t filled_ = 0;
  std::vector<char> heldBack_;
  std::size_t heldBackOffset_ = 0;
};

class CurlConnection final : public IHttpConnection {
 public:
  CurlConnection(InternetSettings settings, std::string host, std::uint16_t port)
      : settings_(std::move(settings)), host_(std::move(host)), port_(port) {}

  std::unique_ptr<IHttpRequest> OpenRequest(const char* verb, const char* path, std::uint32_t flags) override {
    if (verb == nullptr) return nullptr;
    auto request =
        std::make_unique<CurlRequest>(settings_, BuildUrl((flags & kFlagSecure) != 0, host_, port_, path), verb, flags);
    if (!request->Init()) return nullptr;
    return request;
  }

 private:
  const InternetSettings settings_;
  const std::string host_;
  const std::uint16_t port_;
};

class CurlInternet final : public IInternetHandle {
 public:
  explicit CurlInternet(std::string agent) {
    settings_.agent = std::move(agent);
    settings_.cache = std::make_shared<SharedCache>();
  }

  bool SetTimeout(TimeoutOption option, std::uint32_t milliseconds) override {
    switch (option) {
      case TimeoutOption::kConnect:
        settings_.connectTimeoutMs = milliseconds;
        break;
      case TimeoutOption::kReceive:
        settings_.receiveTimeoutMs = milliseconds;
        break;
      case TimeoutOption::kSend:
        settings_.sendTimeoutMs = milliseconds;
        break;
    }
    return true;
  }

  std::unique_ptr<IHttpConnection> Connect(const std::string& host, std::uint16_t port) override {
    if (host.empty()) return nullptr;
    return std::make_unique<CurlConnection>(settings_, host, port);
  }

  bool Close() override {
    settings_.cache.reset();
    return true;
  }

 private:
  InternetSettings settings_;
};

class CurlTransport final : public IHttpTransport {
 public:
  CurlTransport() { InitCurlOnce(); }

  std::unique_ptr<IInternetHandle> Open(const std::string& agent) override {
    return std::make_unique<CurlInternet>(agent);
  }

  void Sleep(std::uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  // Connected when a network interface other than loopback is up.
  bool GetConnectedState(std::uint32_t& flags) override {
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) return false;
    bool connected = false;
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
      const unsigned state = entry->ifa_flags;
      if (entry->ifa_addr != nullptr && (state & IFF_UP) && (state & IFF_RUNNING) && !(state & IFF_LOOPBACK))
        connected = true;
    }
    freeifaddrs(interfaces);
    flags = connected ? kConnectionLan : 0;
    return connected;
  }

  // There is nothing to dial on the host.
  std::uint32_t AttemptConnect() override { return 0; }
};

}  // namespace

std::unique_ptr<IHttpTransport> MakePlatformTransport() { return std::make_unique<CurlTransport>(); }

}  // namespace velinst::http
