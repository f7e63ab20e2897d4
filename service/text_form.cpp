#include "text_form.h"

#include <cstdint>

#include "platform/utf8_encode.h"

namespace velinst::service {
namespace {

// Windows-1252 in 0x80..0x9F; the five unassigned bytes keep their value.
constexpr char16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

using platform::AppendUtf8;

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `at`; on success advances `at`. Overlong
// forms, surrogates and values above U+10FFFF are refused.
bool DecodeUtf8(std::string_view text, std::size_t& at, char32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    code = lead;
    ++at;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return false;
  }
  if (text.size() - at < length) return false;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return false;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  at += length;
  return true;
}

bool IsXmlCharacter(char32_t code) {
  if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
  return code != 0xFFFE && code != 0xFFFF;
}

char ToLowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string EscapeMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ArrivedText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte >= 0x80 && byte < 0xA0)
      AppendUtf8(out, kWindows1252High[byte - 0x80]);
    else
      AppendUtf8(out, byte);
  }
  return out;
}

std::string XmlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = at;
    char32_t code = 0;
    if (!DecodeUtf8(text, at, code)) {
      AppendUtf8(out, kReplacement);
      ++at;
    } else if (!IsXmlCharacter(code)) {
      AppendUtf8(out, kReplacement);
    } else {
      out.append(text.substr(start, at - start));
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  char32_t code = 0;
  for (std::size_t at = 0; at < text.size();)
    if (!DecodeUtf8(text, at, code)) return false;
  return true;
}

std::string ClippedText(std::string_view storedText, std::size_t limit) {
  if (storedText.size() <= limit) return std::string(storedText);
  std::size_t end = limit;
  while (end > 0 && (static_cast<std::uint8_t>(storedText[end]) & 0xC0) == 0x80) --end;
  const std::size_t ampersand = storedText.rfind('&', end == 0 ? 0 : end - 1);
  if (ampersand != std::string_view::npos && storedText.find(';', ampersand) >= end) end = ampersand;
  return std::string(storedText.substr(0, end));
}

bool EqualsIgnoringCase(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i)
    if (ToLowerAscii(left[i]) != ToLowerAscii(right[i])) return false;
  return true;
}

}  // namespace velinst::service
