#include "answer_tree.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/utf8_encode.h"

namespace velinst::service::test {
namespace {

using platform::AppendUtf8;

bool Decode(std::string_view text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      if (text[i] == '<') return false;
      out += text[i];
      continue;
    }
    const std::size_t semicolon = text.find(';', i);
    if (semicolon == std::string_view::npos) return false;
    static const std::map<std::string, char> kNamed = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    const std::string name(text.substr(i + 1, semicolon - i - 1));
    const bool hex = name.size() > 2 && name[1] == 'x';
    if (const auto named = kNamed.find(name); named != kNamed.end())
      out += named->second;
    else if (name.size() > 1 && name[0] == '#')
      AppendUtf8(out, static_cast<char32_t>(std::strtoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10)));
    else
      return false;
    i = semicolon;
  }
  return true;
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::optional<AnswerNode> Document() {
    SkipMisc();
    AnswerNode root;
    if (!Element(root)) return std::nullopt;
    SkipMisc();
    if (at_ != text_.size()) return std::nullopt;
    return root;
  }

 private:
  bool StartsWith(std::string_view prefix) const { return text_.substr(at_, prefix.size()) == prefix; }
  void SkipSpace() { at_ = std::min(text_.find_first_not_of(" \n\r\t", at_), text_.size()); }
  bool SkipPast(std::string_view end) {
    const std::size_t found = text_.find(end, at_);
    if (found == std::string_view::npos) return false;
    at_ = found + end.size();
    return true;
  }
  void SkipMisc() {
    for (;;) {
      SkipSpace();
      if (StartsWith("<?")) {
        if (!SkipPast("?>")) return;
      } else if (StartsWith("<!--")) {
        if (!SkipPast("-->")) return;
      } else {
        return;
      }
    }
  }

  std::string Name() {
    const std::size_t start = at_;
    at_ = std::min(text_.find_first_of(" >/=\n\t\r", at_), text_.size());
    return std::string(text_.substr(start, at_ - start));
  }

  bool Element(AnswerNode& node) {
    if (!StartsWith("<")) return false;
    ++at_;
    node.name = Name();
    if (node.name.empty()) return false;
    for (;;) {
      SkipSpace();
      if (StartsWith("/>")) {
        at_ += 2;
        return true;
      }
      if (StartsWith(">")) {
        ++at_;
        break;
      }
      const std::string attribute = Name();
      SkipSpace();
      if (attribute.empty() || !StartsWith("=")) return false;
      ++at_;
      SkipSpace();
      if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) return false;
      const char quote = text_[at_++];
      const std::size_t end = text_.find(quote, at_);
      if (end == std::string_view::npos) return false;
      std::string value;
      if (!Decode(text_.substr(at_, end - at_), value)) return false;
      node.attributes[attribute] = value;
      at_ = end + 1;
    }
    for (;;) {
      const std::size_t next = text_.find('<', at_);
      if (next == std::string_view::npos) return false;
      const std::string_view raw = text_.substr(at_, next - at_);
      if (!raw.empty()) {
        if (raw.find_first_not_of(" \t\r\n") == std::string_view::npos && !node.children.empty())
          node.hasWhitespaceNodes = true;
        if (!Decode(raw, node.text)) return false;
      }
      at_ = next;
      if (StartsWith("</")) {
        at_ += 2;
        if (Name() != node.name) return false;
        SkipSpace();
        if (!StartsWith(">")) return false;
        ++at_;
        return true;
      }
      if (StartsWith("<!--")) {
        if (!SkipPast("-->")) return false;
        continue;
      }
      if (!node.text.empty() && node.text.find_first_not_of(" \t\r\n") == std::string::npos)
        node.hasWhitespaceNodes = true;
      AnswerNode child;
      if (!Element(child)) return false;
      node.children.push_back(std::move(child));
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

const AnswerNode* AnswerNode::Child(std::string_view childName) const {
  for (const AnswerNode& child : children)
    if (child.name == childName) return &child;
  return nullptr;
}

std::optional<std::string> AnswerNode::ChildText(std::string_view childName) const {
  const AnswerNode* child = Child(childName);
  return child ? std::optional(child->text) : std::nullopt;
}

std::string AnswerNode::Attribute(const std::string& attribute) const {
  const auto found = attributes.find(attribute);
  return found == attributes.end() ? std::string() : found->second;
}

std::optional<AnswerNode> ReadAnswer(std::string_view document) { return Reader(document).Document(); }

}  // namespace velinst::service::test
