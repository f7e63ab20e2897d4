// Escaping of XML text: the five predefined entities, CDATA sections, and
// the forms the object model writes.
#pragma once

#include <string>
#include <string_view>

namespace velinst {

// & " ' < > become &amp; &quot; &apos; &lt; &gt;.
void XMLEscape(std::string& text);
// The five entity references back to their characters, in one pass from the
// left, so that XMLUnescape(XMLEscape(t)) gives back t for every text t.
void XMLUnescape(std::string& text);
// The copying forms.
std::string XMLEscaped(std::string_view text);
std::string XMLUnescaped(std::string_view text);

// Encloses the text in "<![CDATA[" and "]]>" when it holds & " ' < or >.
void WrapCDATA(std::string& text);
// Removes CDATA markers: each "<![CDATA[", searched from where the last
// closing marker was removed, and then the first "]]>" of the text.
void StripCDATA(std::string& text);

// Element text as the object model writes it: WrapCDATA, with a "]]>" inside
// the text split across two sections so that the markup stays well-formed.
std::string ElementText(std::string text);
// An attribute value as the object model writes it between double quotes:
// & < and " escaped.
std::string AttributeText(std::string_view text);

}  // namespace velinst
