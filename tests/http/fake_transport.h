// A transport that answers from a script and records every call, so the
// session's sequence, flags, retries and sleeps are checked without a network.
#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "http/http_transport.h"

namespace velinst::http::test {

struct FakeReply {
  std::map<ReplyInfo, std::string> info;  // a missing entry fails the query
  std::vector<std::string> chunks;        // what successive reads deliver
  bool failRead = false;                  // the read after the chunks fails
};

struct FakeScript {
  bool failOpen = false;
  bool failConnect = false;
  bool failTimeout = false;
  int failingOpenRequests = 0;  // the first N OpenRequest calls fail
  int failingSends = 0;         // the first N Send calls fail
  FakeReply reply;
};

struct FakeLog {
  std::vector<std::string> calls;
  std::vector<std::uint32_t> sleeps;
  std::vector<std::string> sentBodies;
  std::uint32_t lastFlags = 0;
  int openRequests = 0;  // request handles alive
};

class FakeRequest final : public IHttpRequest {
 public:
  FakeRequest(FakeScript& script, FakeLog& log) : script_(script), log_(log) { ++log_.openRequests; }
  ~FakeRequest() override {
    --log_.openRequests;
    log_.calls.push_back("CloseRequest");
  }
  bool AddHeader(std::string_view line) override {
    log_.calls.push_back("AddHeader " + std::string(line));
    return true;
  }
  bool Send(const void* body, std::uint32_t length) override {
    log_.calls.push_back("Send");
    log_.sentBodies.emplace_back(body != nullptr ? std::string(static_cast<const char*>(body), length) : "<null>");
    return script_.failingSends-- <= 0;
  }
  bool Query(ReplyInfo info, std::size_t capacity, std::string& value) override {
    log_.calls.push_back("Query " + std::to_string(static_cast<int>(info)));
    const auto found = script_.reply.info.find(info);
    if (found == script_.reply.info.end() || found->second.size() >= capacity) return false;
    value = found->second;
    return true;
  }
  bool Read(void* buffer, std::uint32_t size, std::uint32_t& read) override {
    log_.calls.push_back("Read");
    read = 0;
    if (next_ == script_.reply.chunks.size()) return !script_.reply.failRead;
    std::string& chunk = script_.reply.chunks[next_];
    read = static_cast<std::uint32_t>(std::min<std::size_t>(size, chunk.size() - offset_));
    std::memcpy(buffer, chunk.data() + offset_, read);
    offset_ += read;
    if (offset_ == chunk.size()) {
      ++next_;
      offset_ = 0;
    }
    return true;
  }

 private:
  FakeScript& script_;
  FakeLog& log_;
  std::size_t next_ = 0;
  std::size_t offset_ = 0;
};

class FakeConnection final : public IHttpConnection {
 public:
  FakeConnection(FakeScript& script, FakeLog& log) : script_(script), log_(log) {}
  std::unique_ptr<IHttpRequest> OpenRequest(const char* verb, const char* path, std::uint32_t flags) override {
    log_.calls.push_back(std::string("OpenRequest ") + verb + " " + path);
    log_.lastFlags = flags;
    if (script_.failingOpenRequests-- > 0) return nullptr;
    return std::make_unique<FakeRequest>(script_, log_);
  }

 private:
  FakeScript& script_;
  FakeLog& log_;
};

class FakeInternet final : public IInternetHandle {
 public:
  FakeInternet(FakeScript& script, FakeLog& log) : script_(script), log_(log) {}
  bool SetTimeout(TimeoutOption option, std::uint32_t milliseconds) override {
    log_.calls.push_back("SetTimeout " + std::to_string(static_cast<int>(option)) + " " + std::to_string(milliseconds));
    return !script_.failTimeout;
  }
  std::unique_ptr<IHttpConnection> Connect(const std::string& host, std::uint16_t port) override {
    log_.calls.push_back("Connect " + host + " " + std::to_string(port));
    if (script_.failConnect) return nullptr;
    return std::make_unique<FakeConnection>(script_, log_);
  }
  bool Close() override {
    log_.calls.push_back("CloseInternet");
    return true;
  }

 private:
  FakeScript& script_;
  FakeLog& log_;
};

class FakeTransport final : public IHttpTransport {
 public:
  FakeTransport(FakeScript& script, FakeLog& log) : script_(script), log_(log) {}
  std::unique_ptr<IInternetHandle> Open(const std::string& agent) override {
    log_.calls.push_back("Open " + agent);
    if (script_.failOpen) return nullptr;
    return std::make_unique<FakeInternet>(script_, log_);
  }
  void Sleep(std::uint32_t milliseconds) override { log_.sleeps.push_back(milliseconds); }
  bool GetConnectedState(std::uint32_t& flags) override {
    flags = 0x12;
    return true;
  }
  std::uint32_t AttemptConnect() override { return 0; }

 private:
  FakeScript& script_;
  FakeLog& log_;
};

}  // namespace velinst::http::test
