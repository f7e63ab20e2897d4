// The error holder that the library's objects carry and raise.
//
// Errors are raised by throwing a pointer to the holder itself (CLastErr*).
// The holder stays owned by the object it is part of, so a handler reads it
// through the pointer and never deletes it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velinst {

class CLastErr {
 public:
  static constexpr std::size_t kTextCapacity = 256;  // 255 characters and the terminator

  // Captures the calling thread's last-error value.
  CLastErr();
  explicit CLastErr(const char* text);
  explicit CLastErr(std::uint32_t applicationErrorId);

  void Reset();
  std::uint32_t CaptureLastError();
  // A text of 256 characters or more is cut to its first 255; null changes nothing.
  void SetText(const char* text);
  std::uint32_t SetAppErrorId(std::uint32_t id);

  // Each returns whether the value is set and, only then, writes it out.
  bool GetSystemCode(std::uint32_t& code) const;
  bool GetAppErrorId(std::uint32_t& id) const;
  bool GetText(const char*& text) const;

  [[noreturn]] void RaiseLastError();
  [[noreturn]] void RaiseText(const char* text);
  [[noreturn]] void RaiseAppErrorId(std::uint32_t id);
  [[noreturn]] void RaiseCopy(const CLastErr& other);

  // Writes a readable description into `buffer` (`size` bytes): the text,
  // else the application id, else the system's message for the system code.
  // Returns 0 only when nothing is set ("Unknown error").
  int Describe(char* buffer, std::size_t size) const;

 private:
  char text_[kTextCapacity] = {};
  std::uint32_t systemCode_ = 0;
  std::uint32_t appErrorId_ = 0;
};

}  // namespace velinst
