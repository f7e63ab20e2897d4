#include "http/http_session.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "http/host_text.h"
#include "http/reply_protocol.h"

namespace velinst::http {
namespace {

constexpr int kAttempts = 4;
constexpr std::uint32_t kRetryDelayMs = 100;
constexpr std::uint32_t kReadChunk = 0x40000;
constexpr std::size_t kHeaderCapacity = 2048;
constexpr std::size_t kStatusCodeCapacity = 128;
constexpr std::size_t kLastModifiedCapacity = 256;
constexpr const char* kKeepAliveHeader = "Connection: Keep-Alive\r\n";

// Copies `text` and its terminator into `buffer` when they fit `usable` bytes.
bool CopyText(const std::string& text, char* buffer, std::size_t usable) {
  if (buffer == nullptr || text.size() >= usable) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

// The internet handle and the connection of one Open. Whoever drops the
// last reference (Close, or the last request still running on them)
// closes them, the connection first.
struct CHttpSession::OpenHandles {
  std::unique_ptr<IInternetHandle> internet;
  std::unique_ptr<IHttpConnection> connection;

  OpenHandles(std::unique_ptr<IInternetHandle> openedInternet, std::unique_ptr<IHttpConnection> openedConnection)
      : internet(std::move(openedInternet)), connection(std::move(openedConnection)) {}
  OpenHandles(const OpenHandles&) = delete;
  OpenHandles& operator=(const OpenHandles&) = delete;
  ~OpenHandles() { Close(); }

  bool Close() {
    connection.reset();
    if (!internet) return false;
    const bool closed = internet->Close();
    internet.reset();
    return closed;
  }
};

CHttpSession::CHttpSession() : CHttpSession(MakePlatformTransport()) {}

CHttpSession::CHttpSession(std::unique_ptr<IHttpTransport> transport) : transport_(std::move(transport)) {}

CHttpSession::~CHttpSession() { Close(); }

void CHttpSession::SetAgent(std::string agent) {
  const std::lock_guard lock(settingsLock_);
  agent_ = std::move(agent);
}

std::string CHttpSession::GetAgent() const {
  const std::lock_guard lock(settingsLock_);
  return agent_;
}

bool CHttpSession::GetAgent(char* buffer, std::size_t size) const {
  return size > 0 && CopyText(GetAgent(), buffer, size - 1);
}

bool CHttpSession::IsOpen() const {
  const std::lock_guard lock(settingsLock_);
  return handles_ != nullptr;
}

std::shared_ptr<CHttpSession::OpenHandles> CHttpSession::CurrentHandles() const {
  const std::lock_guard lock(settingsLock_);
  return handles_;
}

bool CHttpSession::Open(const char* host) {
  std::string hostText;
  std::string agent;
  {
    const std::lock_guard lock(settingsLock_);
    if (host != nullptr) host_ = host;
    hostText = host_;
    agent = agent_;
  }
  const auto target = ParseHostText(hostText);
  if (!target) return false;
  auto internet = transport_->Open(agent);
  if (!internet) return false;
  const std::pair<TimeoutOption, std::uint32_t> timeouts[] = {{TimeoutOption::kConnect, connectTimeout_},
                                                              {TimeoutOption::kReceive, receiveTimeout_},
                                                              {TimeoutOption::kSend, sendTimeout_}};
  for (const auto& [option, milliseconds] : timeouts)
    if (milliseconds != 0 && !internet->SetTimeout(option, milliseconds)) return false;
  const std::uint16_t port = target->port != 0 ? target->port : secure_ ? kSecurePort : 0;
  auto connection = internet->Connect(target->host, port);
  if (!connection) return false;
  auto opened = std::make_shared<OpenHandles>(std::move(internet), std::move(connection));
  {
    const std::lock_guard lock(settingsLock_);
    handles_.swap(opened);
  }
  // The handles of an earlier Open close here, or with the last request
  // still running on them.
  return true;
}

bool CHttpSession::Close() {
  std::shared_ptr<OpenHandles> handles;
  {
    const std::lock_guard lock(settingsLock_);
    handles.swap(handles_);
  }
  if (!handles) return false;
  // No new request can find them now; only the running ones hold them.
  if (handles.use_count() == 1) return handles->Close();
  return true;
}

ThreadRequestState& CHttpSession::ThisThreadState() {
  const std::lock_guard lock(threadStatesLock_);
  return threadStates_[std::this_thread::get_id()];
}

void CHttpSession::SetPostData(const void* data, std::uint32_t length) {
  ThreadRequestState& state = ThisThreadState();
  state.postData = data;
  state.postLength = length;
}

void CHttpSession::GetPostData(const void*& data, std::uint32_t& length) {
  const ThreadRequestState& state = ThisThreadState();
  data = state.postData;
  length = state.postLength;
}

std::int32_t CHttpSession::GetStatusCode() { return ThisThreadState().httpStatus; }
std::string CHttpSession::GetStatusText() { return ThisThreadState().statusText; }
bool CHttpSession::GetStatusText(char* buffer, std::size_t size) {
  return CopyText(ThisThreadState().statusText, buffer, size);
}
std::string CHttpSession::GetContentType() { return ThisThreadState().contentType; }
std::string CHttpSession::GetContentDisposition() { return ThisThreadState().contentDisposition; }
void CHttpSession::SetRequireStatus(bool require) { ThisThreadState().requireStatus = require; }
bool CHttpSession::GetRequireStatus() { return ThisThreadState().requireStatus; }

std::uint32_t CHttpSession::RequestFlags() const {
  std::uint32_t flags = kFlagNoCacheWrite | kFlagKeepConnection;
  if (secure_) {
    flags |= kFlagSecure;
    if (ignoreCertErrors_) flags |= kFlagIgnoreCertNameInvalid | kFlagIgnoreCertDateInvalid;
  }
  return flags;
}

CHttpSession::HeldRequest CHttpSession::OpenRequest(const char* verb, const char* path) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (std::shared_ptr<OpenHandles> handles = CurrentHandles(); handles && handles->connection) {
      if (auto request = handles->connection->OpenRequest(verb, path, RequestFlags())) {
        // Every request asks for keep-alive by header as well as by flag;
        // a refused header changes nothing.
        request->AddHeader(kKeepAliveHeader);
        return {std::move(handles), std::move(request)};
      }
    }
    transport_->Sleep(kRetryDelayMs);
  }
  return {};
}

bool CHttpSession::SendRequest(IHttpRequest& request, const void* body, std::uint32_t length) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (request.Send(body, length)) return true;
    transport_->Sleep(kRetryDelayMs);
  }
  return false;
}

void CHttpSession::StoreDelays(const std::array<std::int32_t, 4>& delays, int count) {
  for (int index = 0; index < count; ++index) delays_[index].store(delays[index], std::memory_order_relaxed);
}

bool CHttpSession::QueryStatusCode(IHttpRequest& request, std::int32_t& status) {
  std::string text;
  if (!request.Query(ReplyInfo::kStatusCode, kStatusCodeCapacity, text)) return false;
  status = static_cast<std::int32_t>(ParseReplyNumber(text));
  return true;
}

HttpBuffer CHttpSession::Request(std::uint32_t& length, const char* path, std::uint32_t& result) {
  return PerformRequest(length, path, result);
}

char* CHttpSession::Request(std::uint32_t& length, const char* path, std::uint32_t& result, char* buffer,
                            std::uint32_t capacity) {
  const HttpBuffer body = Request(length, path, result);
  if (!body || buffer == nullptr || length > capacity) return nullptr;
  std::memcpy(buffer, body.get(), length);
  return buffer;
}

HttpBuffer CHttpSession::PerformRequest(std::uint32_t& length, const char* path, std::uint32_t& result) {
  length = 0;
  result = 0;
  ThreadRequestState& state = ThisThreadState();
  state.statusText.clear();
  state.contentType.clear();
  state.contentDisposition.clear();
  state.httpStatus = 0;

  const void* const postData = state.postData;
  const std::uint32_t postLength = state.postLength;
  // The post data goes with this request only, whatever becomes of it.
  state.postData = nullptr;
  state.postLength = 0;

  const auto request = OpenRequest(postData != nullptr ? "POST" : "GET", path);
  if (!request) return nullptr;
  if (!SendRequest(*request, postData, postLength)) return nullptr;

  std::string value;
  if (request->Query(ReplyInfo::kContentType, kHeaderCapacity, value)) state.contentType = value;
  if (request->Query(ReplyInfo::kContentDisposition, kHeaderCapacity, value)) state.contentDisposition = value;
  if (!request->Query(ReplyInfo::kPragma, kHeaderCapacity, value)) {
    if (state.requireStatus) result = kResultStatusRequired;
  } else {
    ReplyProtocol reply = DecodeReplyProtocol(value);
    state.statusText = std::move(reply.statusText);
    result = reply.result;
    StoreDelays(reply.delays, reply.delayCount);
    if (reply.status == kReplyError) return nullptr;
  }

  BodyBuffer body;
  for (;;) {
    std::size_t room = 0;
    char* const free = body.Reserve(kReadChunk / 4, room);
    if (free == nullptr) return nullptr;
    std::uint32_t read = 0;
    if (!request->Read(free, static_cast<std::uint32_t>(std::min<std::size_t>(room, kReadChunk)), read)) return nullptr;
    if (read == 0) break;
    body.Commit(read);
    if (body.Size() > UINT32_MAX) return nullptr;  // the length is reported in 32 bits
  }
  const std::uint32_t total = static_cast<std::uint32_t>(body.Size());
  HttpBuffer delivered = body.Release();
  if (!delivered) return nullptr;

  std::int32_t status = 0;
  if (QueryStatusCode(*request, status)) state.httpStatus = status;
  length = total;
  return delivered;
}

std::uint32_t CHttpSession::RequestToFile(const char* fileName, const char* path) {
  return PerformRequestToFile(fileName, path);
}

std::uint32_t CHttpSession::PerformRequestToFile(const char* fileName, const char* path) {
  std::uint32_t length = 0;
  std::uint32_t result = 0;
  const HttpBuffer body = PerformRequest(length, path, result);
  if (!body || fileName == nullptr) return 0;
  std::unique_ptr<std::FILE, FileClose> file(std::fopen(fileName, "wb"));
  if (!file) return 0;
  const bool written = std::fwrite(body.get(), 1, length, file.get()) == length;
  const bool closed = std::fclose(file.release()) == 0;
  if (written && closed) return length;
  // A short file would pass for a whole answer.
  std::remove(fileName);
  return 0;
}

CHttpSession::HeldRequest CHttpSession::SendHeadRequest(const char* path, const char* headerLine) {
  HeldRequest request = OpenRequest("GET", path);
  if (!request) return {};
  if (headerLine != nullptr && !request->AddHeader(headerLine)) return {};
  if (!SendRequest(*request, nullptr, 0)) return {};
  return request;
}

bool CHttpSession::IsModifiedSince(const char* path, const CDateTime& since, bool& modified) {
  // The text says GMT, so the fields must be UTC whatever the value shows.
  CDateTime utc = since;
  utc.ToUTC();
  const std::string header = "If-Modified-Since: " + utc.Format(kPatternHttpDate) + "\r\n";
  const auto request = SendHeadRequest(path, header.c_str());
  std::int32_t status = 0;
  if (!request || !QueryStatusCode(*request, status)) return false;
  modified = status != 304;
  return true;
}

bool CHttpSession::GetLastModified(const char* path, CDateTime& when) {
  const auto request = SendHeadRequest(path, nullptr);
  std::string text;
  if (!request || !request->Query(ReplyInfo::kLastModified, kLastModifiedCapacity, text)) return false;
  return when.Parse(kPatternHttpDate, text);
}

bool CHttpSession::Exists(const char* path, bool& exists) {
  const auto request = SendHeadRequest(path, nullptr);
  std::int32_t status = 0;
  if (!request || !QueryStatusCode(*request, status)) return false;
  exists = status == 200;
  return true;
}

bool CHttpSession::IsConnected() {
  std::uint32_t flags = 0;
  return transport_->GetConnectedState(flags);
}

std::uint32_t CHttpSession::GetConnectionFlags() {
  std::uint32_t flags = 0;
  return transport_->GetConnectedState(flags) ? flags : 0;
}

bool CHttpSession::AttemptConnect(std::uint32_t* error) {
  const std::uint32_t code = transport_->AttemptConnect();
  if (error != nullptr) *error = code;
  return code == 0;
}

}  // namespace velinst::http
