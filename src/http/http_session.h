// The one HTTP client of the library: an internet handle and a connection
// to one host, GET and POST requests for object paths on it, whole bodies
// read into memory or a file, and the reply protocol of the Pragma header.
//
// Request facts (the body to POST, the status, the content type, the reply
// status text) are kept per calling thread, so threads sharing the session
// do not see each other's. Whole requests are not serialized; see
// CSerializedHttpSession.
//
// Any thread may call any operation. A request holds the handles it was
// opened on until it ends: Open and Close on another thread replace or drop
// the session's own reference, and the handles are closed when the last
// request using them is done. The settings are read and written under a
// lock, so a request never sees a text half replaced.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "datetime/date_time.h"
#include "http/http_buffer.h"
#include "http/http_transport.h"
#include "http/thread_request_state.h"

namespace velinst::http {

class CHttpSession {
 public:
  static constexpr const char* kDefaultAgent = "Microsoft Internet Explorer 5.5";

  CHttpSession();  // on the platform's transport
  explicit CHttpSession(std::unique_ptr<IHttpTransport> transport);
  CHttpSession(const CHttpSession&) = delete;
  CHttpSession& operator=(const CHttpSession&) = delete;
  virtual ~CHttpSession();

  void SetAgent(std::string agent);
  std::string GetAgent() const;
  // Copies the agent into `buffer` of `size` bytes, of which it uses at most
  // size - 1. False, writing nothing, when the text and its terminator do
  // not fit in those.
  bool GetAgent(char* buffer, std::size_t size) const;
  void SetSecure(bool secure) { secure_ = secure; }
  void SetIgnoreCertErrors(bool ignore) { ignoreCertErrors_ = ignore; }
  // Timeouts in milliseconds, applied at the next Open; 0 keeps the
  // transport's default.
  void SetSendTimeout(std::uint32_t milliseconds) { sendTimeout_ = milliseconds; }
  void SetReceiveTimeout(std::uint32_t milliseconds) { receiveTimeout_ = milliseconds; }
  void SetConnectTimeout(std::uint32_t milliseconds) { connectTimeout_ = milliseconds; }

  // Opens the session to `host` ("name" or "name:port"), or to the stored
  // host when `host` is null.
  virtual bool Open(const char* host);
  // Closes the connection, then the internet handle; the result of the
  // last close, false when nothing was open. While requests of other
  // threads still run on them, the handles are closed when the last of
  // those ends, and the result is true.
  virtual bool Close();
  bool IsOpen() const;

  // The calling thread's request state.
  void SetPostData(const void* data, std::uint32_t length);
  void GetPostData(const void*& data, std::uint32_t& length);
  std::int32_t GetStatusCode();
  std::string GetStatusText();
  // False, writing nothing, when the text and its terminator do not fit.
  bool GetStatusText(char* buffer, std::size_t size);
  std::string GetContentType();
  std::string GetContentDisposition();
  void SetRequireStatus(bool require);
  bool GetRequireStatus();

  // The numbers of the last "delay=" item any thread received.
  std::int32_t GetDelay1() const { return delays_[0].load(std::memory_order_relaxed); }
  std::int32_t GetDelay2() const { return delays_[1].load(std::memory_order_relaxed); }
  std::int32_t GetDelay4() const { return delays_[3].load(std::memory_order_relaxed); }

  // Sends the calling thread's request (POST with its post data, else GET)
  // and returns the whole body, terminated, or null. `length` receives the
  // body's length and `result` the reply result code.
  virtual HttpBuffer Request(std::uint32_t& length, const char* path, std::uint32_t& result);
  // The same into the caller's `buffer` of `capacity` bytes: null, writing
  // nothing, when the body does not fit (`length` then tells its length).
  virtual char* Request(std::uint32_t& length, const char* path, std::uint32_t& result, char* buffer,
                        std::uint32_t capacity);
  // Writes the body to `fileName`; its length, or 0 when nothing was
  // received or the file could not be written whole (then it is removed).
  virtual std::uint32_t RequestToFile(const char* fileName, const char* path);
  // GET with "If-Modified-Since" (the HTTP date of `since`); `modified` is
  // whether the status is other than 304. False when the request could not
  // be sent or the status not read.
  bool IsModifiedSince(const char* path, const CDateTime& since, bool& modified);
  // GET; `when` receives the reply's Last-Modified. False when the request
  // could not be sent, or the header is missing or not an HTTP date.
  bool GetLastModified(const char* path, CDateTime& when);
  // GET; `exists` is whether the status is 200. False when the request
  // could not be sent or the status not read.
  bool Exists(const char* path, bool& exists);

  // Connectivity of the machine; no session needed.
  bool IsConnected();
  std::uint32_t GetConnectionFlags();
  bool AttemptConnect(std::uint32_t* error);

 protected:
  struct OpenHandles;
  // A request with the handles it was opened on; the request goes first.
  struct HeldRequest {
    std::shared_ptr<OpenHandles> handles;
    std::unique_ptr<IHttpRequest> request;
    explicit operator bool() const { return request != nullptr; }
    IHttpRequest* operator->() const { return request.get(); }
    IHttpRequest& operator*() const { return *request; }
  };

  ThreadRequestState& ThisThreadState();
  // Request and RequestToFile without the overridable layer, for variants
  // that wrap them.
  HttpBuffer PerformRequest(std::uint32_t& length, const char* path, std::uint32_t& result);
  std::uint32_t PerformRequestToFile(const char* fileName, const char* path);

  // A GET with optional extra header line, sent with the retries, for the
  // queries that read only the reply's headers.
  HeldRequest SendHeadRequest(const char* path, const char* headerLine);
  // The reply's status code, or nothing when it cannot be read.
  static bool QueryStatusCode(IHttpRequest& request, std::int32_t& status);

 private:
  std::uint32_t RequestFlags() const;
  // Opens a request with the retries and asks it for keep-alive.
  HeldRequest OpenRequest(const char* verb, const char* path);
  std::shared_ptr<OpenHandles> CurrentHandles() const;
  bool SendRequest(IHttpRequest& request, const void* body, std::uint32_t length);
  void StoreDelays(const std::array<std::int32_t, 4>& delays, int count);

  std::unique_ptr<IHttpTransport> transport_;
  // Guards the handles' reference and the texts below it.
  mutable std::mutex settingsLock_;
  std::shared_ptr<OpenHandles> handles_;
  std::string host_;
  std::string agent_ = kDefaultAgent;
  std::atomic<std::uint32_t> sendTimeout_{0};
  std::atomic<std::uint32_t> receiveTimeout_{0};
  std::atomic<std::uint32_t> connectTimeout_{0};
  std::array<std::atomic<std::int32_t>, 4> delays_{};
  std::atomic<bool> secure_{false};
  std::atomic<bool> ignoreCertErrors_{false};
  // Entries are never erased while the session lives, so a reference found
  // under the lock stays valid after it is released; only the owning thread
  // uses its entry.
  std::map<std::thread::id, ThreadRequestState> threadStates_;
  std::mutex threadStatesLock_;
};

}  // namespace velinst::http
