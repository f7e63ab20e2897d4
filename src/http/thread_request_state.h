// What one thread's requests leave behind on a shared session.
#pragma once

#include <cstdint>
#include <string>

namespace velinst::http {

struct ThreadRequestState {
  const void* postData = nullptr;  // not owned; null makes the next request a GET
  std::uint32_t postLength = 0;
  bool requireStatus = false;  // a reply without Pragma then reports kResultStatusRequired
  std::string statusText;
  std::string contentType;
  std::string contentDisposition;
  std::int32_t httpStatus = 0;
};

}  // namespace velinst::http
