// The forms a text takes in the service. Clients escape texts for XML before
// sending them; the service stores texts in that escaped form and escapes
// them once more when it writes them into an answer, so the client's own
// unescaping gives back what its caller sent.
#pragma once

#include <string>
#include <string_view>

namespace velinst::service {

// & " ' < > as entity references (the client's own escaping rule).
std::string EscapeMarkup(std::string_view text);

// Texts arrive in the client's ANSI code page or in UTF-8: valid UTF-8 is
// kept, anything else is read as Windows-1252 and converted.
std::string ArrivedText(std::string_view bytes);

// Valid UTF-8 of characters that XML 1.0 allows; every other byte sequence
// or character becomes U+FFFD, so no stored text can spoil an answer.
std::string XmlCharacters(std::string_view text);

bool IsValidUtf8(std::string_view text);

// At most `limit` bytes of a stored text, cut neither inside a UTF-8
// sequence nor inside an entity reference.
std::string ClippedText(std::string_view storedText, std::size_t limit);

// Compares ASCII letters without regard to case.
bool EqualsIgnoringCase(std::string_view left, std::string_view right);

}  // namespace velinst::service
