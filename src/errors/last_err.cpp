#include "errors/last_err.h"

#include <cstdio>
#include <cstring>

#include "platform/last_error.h"

namespace velinst {

namespace {

// Copies at most capacity - 1 characters and always terminates.
void CopyCut(char* destination, std::size_t capacity, const char* source) {
  std::size_t length = 0;
  while (length + 1 < capacity && source[length] != '\0') ++length;
  std::memcpy(destination, source, length);
  destination[length] = '\0';
}

}  // namespace

CLastErr::CLastErr() : systemCode_(platform::LastError()) {}

CLastErr::CLastErr(const char* text) { SetText(text); }

CLastErr::CLastErr(std::uint32_t applicationErrorId) : appErrorId_(applicationErrorId) {}

void CLastErr::Reset() {
  text_[0] = '\0';
  systemCode_ = 0;
  appErrorId_ = 0;
}

std::uint32_t CLastErr::CaptureLastError() {
  systemCode_ = platform::LastError();
  return systemCode_;
}

void CLastErr::SetText(const char* text) {
  if (text == nullptr) return;
  CopyCut(text_, sizeof text_, text);
}

std::uint32_t CLastErr::SetAppErrorId(std::uint32_t id) {
  appErrorId_ = id;
  return id;
}

bool CLastErr::GetSystemCode(std::uint32_t& code) const {
  if (systemCode_ == 0) return false;
  code = systemCode_;
  return true;
}

bool CLastErr::GetAppErrorId(std::uint32_t& id) const {
  if (appErrorId_ == 0) return false;
  id = appErrorId_;
  return true;
}

bool CLastErr::GetText(const char*& text) const {
  if (text_[0] == '\0') return false;
  text = text_;
  return true;
}

void CLastErr::RaiseLastError() {
  CaptureLastError();
  throw this;
}

void CLastErr::RaiseText(const char* text) {
  SetText(text);
  throw this;
}

void CLastErr::RaiseAppErrorId(std::uint32_t id) {
  appErrorId_ = id;
  throw this;
}

void CLastErr::RaiseCopy(const CLastErr& other) {
  if (&other != this) {
    std::memcpy(text_, other.text_, sizeof text_);
    systemCode_ = other.systemCode_;
    appErrorId_ = other.appErrorId_;
  }
  throw this;
}

int CLastErr::Describe(char* buffer, std::size_t size) const {
  if (buffer == nullptr || size == 0) return text_[0] != '\0' || appErrorId_ != 0 || systemCode_ != 0;
  if (text_[0] != '\0') {
    CopyCut(buffer, size, text_);
    return 1;
  }
  if (appErrorId_ != 0) {
    std::snprintf(buffer, size, "Application error id = 0x%x", static_cast<unsigned>(appErrorId_));
    return 1;
  }
  if (systemCode_ == 0) {
    CopyCut(buffer, size, "Unknown error");
    return 0;
  }
  // Without a system text the buffer would keep whatever it held: write an
  // empty text instead.
  if (!platform::SystemMessage(systemCode_, buffer, size)) {
    buffer[0] = '\0';
    return 1;
  }
  std::size_t length = std::strlen(buffer);
  while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r')) buffer[--length] = '\0';
  return 1;
}

}  // namespace velinst
