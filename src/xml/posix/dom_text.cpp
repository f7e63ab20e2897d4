// Names, texts and markup of the host's nodes, as the Windows DOM gives them
// with its default white-space handling:
// - an element's text joins the text and CDATA below it; where loading
//   dropped white space between two pieces, one space stands for it; white
//   space at either end is trimmed unless xml:space="preserve" is in force,
//   but never out of a CDATA section;
// - a text node's own text is trimmed; a white-space-only attribute value
//   reads as empty;
// - markup is indented with tabs where loading dropped white space (elements
//   whose children are all elements), and lines end with "\r\n".
// Narrow text on the host is UTF-8, so names and texts need no conversion.
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <memory>
#include <string>

#include "xml/dom.h"
#include "xml/posix/libxml_node.h"

namespace velinst::dom {

namespace {

using libxml::Chars;

struct Gathered {
  std::string text;
  std::size_t cdataBegin = std::string::npos;  // where the first CDATA section starts
  std::size_t cdataEnd = 0;                    // and the last one ends
};

// Appends the text below `parent`; returns whether dropped white space ends
// it, which separates it from what follows in its parent.
bool Gather(const xmlNode* parent, bool preserve, Gathered& out) {
  const std::size_t start = out.text.size();
  bool blankPending = false;
  for (const xmlNode* child = parent->children; child != nullptr; child = child->next) {
    if (libxml::HasMark(child, libxml::kBlankBefore)) blankPending = true;
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
      const bool cdata = child->type == XML_CDATA_SECTION_NODE;
      const char* content = Chars(child->content);
      if (*content == '\0' && !cdata) continue;
      if (blankPending && out.text.size() > start) out.text += ' ';
      blankPending = false;
      if (cdata) out.cdataBegin = std::min(out.cdataBegin, out.text.size());
      out.text += content;
      if (cdata) out.cdataEnd = out.text.size();
    } else if (child->type == XML_ELEMENT_NODE) {
      const bool separate = blankPending && out.text.size() > start;
      if (separate) out.text += ' ';
      const std::size_t before = out.text.size();
      const bool trailingBlank = Gather(child, libxml::SpacePreservedIn(child, preserve), out);
      if (out.text.size() > before)
        blankPending = false;
      else if (separate)
        out.text.pop_back();
      if (trailingBlank) blankPending = true;
    }
  }
  return blankPending || libxml::HasMark(parent, libxml::kBlankAtEnd);
}

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && libxml::IsXmlSpace(text[begin])) ++begin;
  while (end > begin && libxml::IsXmlSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string ContentText(const xmlNode* parent, bool preserve) {
  Gathered gathered;
  Gather(parent, preserve, gathered);
  if (preserve) return std::move(gathered.text);
  if (gathered.cdataBegin == std::string::npos) return Trimmed(gathered.text);
  const std::string& text = gathered.text;
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < gathered.cdataBegin && libxml::IsXmlSpace(text[begin])) ++begin;
  while (end > gathered.cdataEnd && libxml::IsXmlSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string AttributeValue(const xmlNode* attribute) {
  std::string value;
  for (const xmlNode* child = attribute->children; child != nullptr; child = child->next)
    value += Chars(child->content);
  return value;
}

std::string NonBlank(std::string value) {
  return libxml::IsBlank(reinterpret_cast<const xmlChar*>(value.c_str())) ? std::string() : value;
}

struct OutputDeleter {
  void operator()(xmlOutputBuffer* output) const { xmlOutputBufferClose(output); }
};
struct BufferDeleter {
  void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};

// libxml2 reads its indentation from a per-thread setting; it is tabs for
// the length of one serialisation.
class TabIndentation {
 public:
  TabIndentation() : saved_(xmlTreeIndentString) { xmlTreeIndentString = "\t"; }
  TabIndentation(const TabIndentation&) = delete;
  TabIndentation& operator=(const TabIndentation&) = delete;
  ~TabIndentation() { xmlTreeIndentString = saved_; }

 private:
  const char* saved_;
};

void AppendWithCrLf(std::string& out, const char* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '\n') out += '\r';
    out += text[i];
  }
}

// Serialises `node` (and, for the document, each top-level node on its own
// line) in UTF-8.
bool Serialise(xmlNode* node, std::string& markup) {
  std::unique_ptr<xmlOutputBuffer, OutputDeleter> output(xmlAllocOutputBuffer(nullptr));
  if (!output) return false;
  TabIndentation tabs;
  if (node->type == XML_DOCUMENT_NODE) {
    for (xmlNode* child = node->children; child != nullptr; child = child->next) {
      xmlNodeDumpOutput(output.get(), node->doc, child, 0, 1, "UTF-8");
      xmlOutputBufferWrite(output.get(), 1, "\n");
    }
  } else {
    xmlNodeDumpOutput(output.get(), node->doc, node, 0, 1, "UTF-8");
  }
  xmlOutputBufferFlush(output.get());
  const char* text = reinterpret_cast<const char*>(xmlOutputBufferGetContent(output.get()));
  std::size_t length = xmlOutputBufferGetSize(output.get());
  if (text == nullptr) return false;
  // An attribute comes out with the blank that separates it inside a tag.
  if (node->type == XML_ATTRIBUTE_NODE && length > 0 && *text == ' ') ++text, --length;
  markup.clear();
  AppendWithCrLf(markup, text, length);
  return true;
}

bool SerialiseDeclaration(const xmlNs* ns, std::string& markup) {
  std::unique_ptr<xmlBuffer, BufferDeleter> buffer(xmlBufferCreate());
  if (!buffer) return false;
  xmlAttrSerializeTxtContent(buffer.get(), nullptr, nullptr, ns->href);
  markup = ns->prefix != nullptr ? std::string("xmlns:") + Chars(ns->prefix) : std::string("xmlns");
  markup += "=\"";
  AppendWithCrLf(markup, reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                 static_cast<std::size_t>(xmlBufferLength(buffer.get())));
  markup += '"';
  return true;
}

}  // namespace

Status Name(NodeObject* node, std::string& name) {
  if (node == nullptr) return kFail;
  if (libxml::IsNamespace(node)) {
    const xmlNs* ns = libxml::AsNamespace(node);
    name = ns->prefix != nullptr ? std::string("xmlns:") + Chars(ns->prefix) : std::string("xmlns");
    return kOk;
  }
  const xmlNode* n = libxml::AsNode(node);
  switch (n->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
      name = libxml::QualifiedName(n);
      break;
    case XML_TEXT_NODE:
      name = "#text";
      break;
    case XML_CDATA_SECTION_NODE:
      name = "#cdata-section";
      break;
    case XML_COMMENT_NODE:
      name = "#comment";
      break;
    case XML_DOCUMENT_NODE:
      name = "#document";
      break;
    default:
      name = Chars(n->name);
      break;
  }
  return kOk;
}

Status Text(NodeObject* node, std::string& text) {
  if (node == nullptr) return kFail;
  if (libxml::IsNamespace(node)) {
    text = NonBlank(Chars(libxml::AsNamespace(node)->href));
    return kOk;
  }
  const xmlNode* n = libxml::AsNode(node);
  switch (n->type) {
    case XML_ELEMENT_NODE:
      text = ContentText(n, libxml::PreservesSpace(n));
      break;
    case XML_DOCUMENT_NODE:
      text = ContentText(n, false);
      break;
    case XML_TEXT_NODE:
      text = Trimmed(Chars(n->content));
      break;
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      text = Chars(n->content);
      break;
    case XML_ATTRIBUTE_NODE:
      text = NonBlank(AttributeValue(n));
      break;
    default:
      text.clear();
      break;
  }
  return text.empty() ? kFalse : kOk;
}

Status Xml(NodeObject* node, std::string& markup) {
  if (node == nullptr) return kFail;
  const bool done = libxml::IsNamespace(node) ? SerialiseDeclaration(libxml::AsNamespace(node), markup)
                                              : Serialise(libxml::AsNode(node), markup);
  return done ? kOk : kOutOfMemory;
}

}  // namespace velinst::dom
