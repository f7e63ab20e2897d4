#include "xml/escape.h"

#include <array>
#include <cstring>

namespace velinst {

namespace {

struct Entity {
  char character;
  std::string_view reference;
};

constexpr std::array<Entity, 5> kEntities{{
    {'&', "&amp;"},
    {'"', "&quot;"},
    {'\'', "&apos;"},
    {'<', "&lt;"},
    {'>', "&gt;"},
}};

constexpr char kCDataOpen[] = "<![CDATA[";
constexpr char kCDataClose[] = "]]>";

// Replaces each character of `escaped` (a subset of the five) by its
// reference.
std::string Escaped(std::string_view text, std::string_view escaped) {
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    const Entity* entity = nullptr;
    if (escaped.find(c) != std::string_view::npos) {
      for (const Entity& candidate : kEntities)
        if (candidate.character == c) entity = &candidate;
    }
    if (entity != nullptr)
      result += entity->reference;
    else
      result += c;
  }
  return result;
}

}  // namespace

std::string XMLEscaped(std::string_view text) { return Escaped(text, "&\"'<>"); }

std::string XMLUnescaped(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Entity* match = nullptr;
    if (text[i] == '&') {
      for (const Entity& entity : kEntities)
        if (text.substr(i, entity.reference.size()) == entity.reference) match = &entity;
    }
    if (match != nullptr) {
      result += match->character;
      i += match->reference.size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

void XMLEscape(std::string& text) { text = XMLEscaped(text); }
void XMLUnescape(std::string& text) { text = XMLUnescaped(text); }

void WrapCDATA(std::string& text) {
  if (text.find_first_of("&\"'<>") == std::string::npos) return;
  text.insert(0, kCDataOpen);
  text += kCDataClose;
}

void StripCDATA(std::string& text) {
  std::size_t from = 0;
  for (;;) {
    const std::size_t open = text.find(kCDataOpen, from);
    if (open == std::string::npos) return;
    text.erase(open, std::strlen(kCDataOpen));
    const std::size_t close = text.find(kCDataClose);
    if (close == std::string::npos) return;
    text.erase(close, std::strlen(kCDataClose));
    from = close;
  }
}

std::string ElementText(std::string text) {
  const std::size_t length = text.size();
  WrapCDATA(text);
  if (text.size() == length) return text;
  // "]]>" ends a section: close before its ">" and reopen.
  constexpr std::string_view kSplit = "]]]]><![CDATA[>";
  const std::size_t bodyEnd = text.size() - std::strlen(kCDataClose);
  std::string result;
  result.reserve(text.size() + 16);
  std::size_t at = 0;
  for (std::size_t found; (found = text.find(kCDataClose, at)) < bodyEnd; at = found + 3) {
    result.append(text, at, found - at);
    result += kSplit;
  }
  result.append(text, at, std::string::npos);
  return result;
}

std::string AttributeText(std::string_view text) { return Escaped(text, "&<\""); }

}  // namespace velinst
