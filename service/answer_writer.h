// The answer document: an "rsp" element with status="ok" and the method's
// elements, or status="err" with one "err" element carrying type and msg.
// No whitespace is written between elements: clients walk child nodes and
// would meet it as text nodes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace velinst::service {

struct AnswerAttribute {
  std::string_view name;
  std::string_view storedText;
};

class AnswerWriter {
 public:
  // Stored texts are in the clients' escaped form; they are escaped once
  // more here (a stored "&amp;" goes out as "&amp;amp;").
  void Element(std::string_view name, std::string_view storedText);
  void Element(std::string_view name, std::int64_t value);
  void Open(std::string_view name, std::initializer_list<AnswerAttribute> attributes = {});
  void Close();
  // An element with attributes and no content.
  void Empty(std::string_view name, std::initializer_list<AnswerAttribute> attributes);

  // The whole document; closes what is still open.
  std::string Finish();

 private:
  void StartTag(std::string_view name);
  void AttributeText(std::string_view name, std::string_view storedText);

  std::string body_;
  std::vector<std::string> open_;
};

std::string ErrorAnswer(std::string_view type, std::string_view message);

// A number with a fixed count of decimals ("72.500000" with 6).
std::string RealText(double value, int decimals);

}  // namespace velinst::service
