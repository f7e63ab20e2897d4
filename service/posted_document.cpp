#include "posted_document.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <climits>

#include "service_error.h"
#include "text_form.h"

namespace velinst::service {
namespace {

struct ParserContextFreer {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

void RefuseDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  xmlStopParser(static_cast<xmlParserCtxt*>(context));
}

[[noreturn]] void Refuse(const char* why) { throw ServiceError(error_type::kParameter, why); }

// Clients post texts in their ANSI code page without declaring it: a body
// that is not UTF-8 and names no encoding is read as Windows-1252, as query
// texts are.
bool DeclaresEncoding(std::string_view body) {
  if (body.rfind("<?xml", 0) != 0) return false;
  return body.substr(0, body.find("?>")).find("encoding") != std::string_view::npos;
}

}  // namespace

void InitializeXmlParser() { xmlInitParser(); }

XmlDocument ParsePostedDocument(std::string_view posted) {
  std::string converted;
  if (!DeclaresEncoding(posted) && !IsValidUtf8(posted)) converted = ArrivedText(posted);
  const std::string_view body = converted.empty() ? posted : converted;
  if (body.size() > static_cast<std::size_t>(INT_MAX)) Refuse("The posted document is too large");
  std::unique_ptr<xmlParserCtxt, ParserContextFreer> context(xmlNewParserCtxt());
  if (!context || context->sax == nullptr) throw std::bad_alloc();
  context->sax->internalSubset = RefuseDocumentType;
  context->sax->externalSubset = RefuseDocumentType;
  XmlDocument document(
      xmlCtxtReadMemory(context.get(), body.data(), static_cast<int>(body.size()), nullptr, nullptr,
                        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA));
  if (!document || !context->wellFormed || context->disableSAX || xmlDocGetRootElement(document.get()) == nullptr)
    Refuse("The posted document is not well-formed XML (document type declarations are refused)");
  return document;
}

std::string_view NodeName(const xmlNode* node) {
  return node->name ? std::string_view(reinterpret_cast<const char*>(node->name)) : std::string_view();
}

std::string NodeText(const xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  if (content == nullptr) return {};
  std::string text(reinterpret_cast<const char*>(content));
  xmlFree(content);
  return text;
}

std::string AttributeText(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) return {};
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

std::string StoredNodeText(const xmlNode* node) { return EscapeMarkup(NodeText(node)); }

std::string SerializedDocument(xmlDoc* document) {
  xmlChar* text = nullptr;
  int length = 0;
  xmlDocDumpMemoryEnc(document, &text, &length, "UTF-8");
  if (text == nullptr) throw std::bad_alloc();
  std::string result(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
  xmlFree(text);
  return result;
}

}  // namespace velinst::service
