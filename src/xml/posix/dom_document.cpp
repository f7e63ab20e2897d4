// The host's parser document: settings, XPath queries and narrow arguments.
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "xml/dom.h"
#include "xml/posix/libxml_document.h"
#include "xml/posix/libxml_node.h"

namespace velinst::dom {

namespace {

// libxml2 sets up its globals on first use, and that setup is not safe
// when two threads get there at once: it is done once, before any document.
// The process-wide external-entity loader is left as the process has it
// (the library shares its process with the installer): each parse refuses
// external resources through its own callbacks instead.
void InitialiseLibxml() {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
}

bool IsNameChar(char c) { return c != '\0' && !libxml::IsXmlSpace(c) && c != '=' && c != '"' && c != '\''; }

// Reads "xmlns:p='uri' xmlns:q=\"uri\"" as the Windows parser accepts it for
// "SelectionNamespaces": blank-separated declarations, either quote. A
// default declaration (plain xmlns) is accepted and plays no part in XPath.
bool ParseDeclarations(const std::string& text, std::vector<std::pair<std::string, std::string>>& declarations) {
  const char* p = text.c_str();
  auto skipBlanks = [&p] {
    while (libxml::IsXmlSpace(*p)) ++p;
  };
  for (;;) {
    skipBlanks();
    if (*p == '\0') return true;
    if (std::strncmp(p, "xmlns", 5) != 0) return false;
    p += 5;
    std::string prefix;
    if (*p == ':') {
      for (++p; IsNameChar(*p); ++p) prefix += *p;
      if (prefix.empty()) return false;
    }
    skipBlanks();
    if (*p++ != '=') return false;
    skipBlanks();
    const char quote = *p;
    if (quote != '"' && quote != '\'') return false;
    const char* end = std::strchr(p + 1, quote);
    if (end == nullptr) return false;
    std::string uri(p + 1, end);
    p = end + 1;
    if (*p != '\0' && !libxml::IsXmlSpace(*p)) return false;
    if (!prefix.empty()) declarations.emplace_back(std::move(prefix), std::move(uri));
  }
}

struct XPathContextDeleter {
  void operator()(xmlXPathContext* context) const { xmlXPathFreeContext(context); }
};
struct XPathObjectDeleter {
  void operator()(xmlXPathObject* object) const { xmlXPathFreeObject(object); }
};

void IgnoreXPathError(void*, xmlError*) {}

// Namespace nodes of an XPath result are copies owned by the result; the
// declaration they copy is what an attribute map shows.
NodeObject* ResultNode(xmlDoc* tree, xmlNode* node) {
  if (node->type != XML_NAMESPACE_DECL) return libxml::Handle(node);
  auto* copy = reinterpret_cast<xmlNs*>(node);
  auto* element = reinterpret_cast<xmlNode*>(copy->next);
  xmlNs* declared = element != nullptr ? xmlSearchNs(tree, element, copy->prefix) : nullptr;
  return declared != nullptr ? libxml::Handle(declared) : nullptr;
}

}  // namespace

void Release(DocumentObject* object) noexcept { delete object; }
void Release(TextObject* object) noexcept { delete object; }

Status CreateDocument(Ref<DocumentObject>& document) {
  InitialiseLibxml();
  auto* created = new (std::nothrow) DocumentObject;
  if (created == nullptr) return kOutOfMemory;
  document = Ref<DocumentObject>(created);
  return kOk;
}

Status SetProhibitDtd(DocumentObject* document, bool prohibit) {
  if (document == nullptr) return kFail;
  document->prohibitDtd = prohibit;
  return kOk;
}

Status SetSelectionNamespaces(DocumentObject* document, TextObject* declarations) {
  if (document == nullptr || declarations == nullptr) return kFail;
  std::vector<std::pair<std::string, std::string>> parsed;
  if (!ParseDeclarations(declarations->text, parsed)) return kFail;
  document->selectionNamespaces = std::move(parsed);
  return kOk;
}

Status DocumentElement(DocumentObject* document, Ref<NodeObject>& element) {
  element.reset();
  if (document == nullptr) return kFail;
  xmlNode* root = document->tree ? xmlDocGetRootElement(document->tree.get()) : nullptr;
  if (root == nullptr) return kFalse;
  element = Ref<NodeObject>(libxml::Handle(root));
  return kOk;
}

Status SelectNodes(DocumentObject* document, TextObject* expression, Ref<ListObject>& list) {
  list.reset();
  if (document == nullptr || expression == nullptr || !document->tree) return kFail;
  xmlDoc* tree = document->tree.get();
  std::unique_ptr<xmlXPathContext, XPathContextDeleter> context(xmlXPathNewContext(tree));
  if (!context) return kOutOfMemory;
  context->error = IgnoreXPathError;
  for (const auto& [prefix, uri] : document->selectionNamespaces) {
    if (xmlXPathRegisterNs(context.get(), BAD_CAST prefix.c_str(), BAD_CAST uri.c_str()) != 0) return kFail;
  }
  context->node = reinterpret_cast<xmlNode*>(tree);
  std::unique_ptr<xmlXPathObject, XPathObjectDeleter> result(
      xmlXPathEvalExpression(BAD_CAST expression->text.c_str(), context.get()));
  // A syntax error, an undeclared prefix or a result that is not a node set
  // (a number, a string) all fail the query.
  if (!result || result->type != XPATH_NODESET) return kFail;
  auto* found = new (std::nothrow) ListObject;
  if (found == nullptr) return kOutOfMemory;
  list = Ref<ListObject>(found);
  if (const xmlNodeSet* nodes = result->nodesetval; nodes != nullptr) {
    found->nodes.reserve(static_cast<std::size_t>(nodes->nodeNr));
    for (int i = 0; i < nodes->nodeNr; ++i) {
      if (NodeObject* node = ResultNode(tree, nodes->nodeTab[i]); node != nullptr) found->nodes.push_back(node);
    }
  }
  return kOk;
}

Status MakeText(const char* narrow, Ref<TextObject>& text) {
  auto* made = new (std::nothrow) TextObject;
  if (made == nullptr) return kOutOfMemory;
  text = Ref<TextObject>(made);
  try {
    made->text = narrow != nullptr ? narrow : "";
  } catch (const std::bad_alloc&) {
    text.reset();
    return kOutOfMemory;
  }
  return kOk;
}

}  // namespace velinst::dom
