// An XML document posted with a request, parsed by libxml2 with the
// network off and any document type declaration refused (so no entity of
// the sender's can be defined, let alone expanded or fetched).
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>
#include <string_view>

namespace velinst::service {

struct XmlDocumentFreer {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using XmlDocument = std::unique_ptr<xmlDoc, XmlDocumentFreer>;

// Once per process, before the first parse (libxml2's global set-up).
void InitializeXmlParser();

// Throws ServiceError (ParameterException) when the body is not a
// well-formed document or declares a document type.
XmlDocument ParsePostedDocument(std::string_view body);

// The element's name and its whole text content, as libxml2 decoded them.
std::string_view NodeName(const xmlNode* node);
std::string NodeText(const xmlNode* node);
// An attribute's decoded text; empty when absent.
std::string AttributeText(const xmlNode* node, const char* name);

// The text of an element that arrived in a document, in the stored
// (escaped) form: the parser decoded it once, so it is escaped once.
std::string StoredNodeText(const xmlNode* node);

// The document as UTF-8 text.
std::string SerializedDocument(xmlDoc* document);

}  // namespace velinst::service
