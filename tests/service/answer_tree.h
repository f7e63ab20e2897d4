// A small reader of the service's answer documents for the tests, on every
// platform: elements with their attributes and text, entity references
// decoded once (as a client's XML parser does). Not a general XML parser:
// no DTD, no namespaces, no CDATA.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velinst::service::test {

struct AnswerNode {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;  // the text directly inside, decoded
  std::vector<AnswerNode> children;
  bool hasWhitespaceNodes = false;  // text between child elements

  // The first child of that name; null when none.
  const AnswerNode* Child(std::string_view childName) const;
  // The text of the first child of that name; nothing when absent.
  std::optional<std::string> ChildText(std::string_view childName) const;
  std::string Attribute(const std::string& attribute) const;
};

// The document element, or nothing when the text is not well-formed in the
// subset this reader knows.
std::optional<AnswerNode> ReadAnswer(std::string_view document);

}  // namespace velinst::service::test
