// Loading on the host: libxml2 parses, within the library's limits, into a
// tree shaped the way the Windows parser shapes it.
//
// Safety: nothing external is fetched (external entities of either kind
// read as empty stand-ins, external DTD subsets are never asked for, and
// the process-wide loader is never reached); entity references are replaced
// by their text, and the text that one document's references expand to is
// bounded; elements nest at most kMaxElementDepth deep; a document larger
// than the size limit is not read.
#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "xml/dom.h"
#include "xml/posix/libxml_document.h"
#include "xml/posix/libxml_node.h"

namespace velinst::dom {

namespace {

constexpr std::size_t kMaxDocumentBytes = static_cast<std::size_t>(kMaxDocumentKiloChars) * 1024;
// Text that entity references may add to one document, and how deep entity
// definitions may refer to each other when that text is counted.
constexpr std::size_t kMaxEntityExpansion = 1024 * 1024;
constexpr int kMaxEntityNesting = 16;

// Parse-error codes in the range the Windows parser uses for its own.
constexpr std::int32_t kParseErrorBase = static_cast<std::int32_t>(0xC00CE000);
constexpr std::int32_t kObjectNotFound = static_cast<std::int32_t>(0x800C0006);

std::int32_t ParseErrorCode(int libxmlCode) { return kParseErrorBase | (libxmlCode & 0xFFF); }

// What one parse refused on its own account, beside libxml2's errors.
struct LoadState {
  bool prohibitDtd = false;
  std::size_t expansion = 0;
  std::unordered_map<const xmlEntity*, std::size_t> expandedSizes;
  const char* refusal = nullptr;
  // Empty stand-ins for the external entities the document refers to, kept
  // in a scratch document of their own.
  UniqueTree standIns;
};

// SAX callbacks receive the parser context only; the state of the parse
// running on this thread is found here.
thread_local LoadState* tLoad = nullptr;

class LoadScope {
 public:
  explicit LoadScope(LoadState& state) { tLoad = &state; }
  LoadScope(const LoadScope&) = delete;
  LoadScope& operator=(const LoadScope&) = delete;
  ~LoadScope() { tLoad = nullptr; }
};

void Refuse(xmlParserCtxtPtr context, const char* reason) {
  if (tLoad->refusal == nullptr) tLoad->refusal = reason;
  xmlStopParser(context);
}

// The length of the text that a reference to `entity` becomes, counting the
// references inside its definition; at most kMaxEntityExpansion + 1.
std::size_t ExpandedSize(xmlDoc* tree, const xmlEntity* entity, int nesting) {
  constexpr std::size_t kTooMuch = kMaxEntityExpansion + 1;
  auto& sizes = tLoad->expandedSizes;
  if (const auto known = sizes.find(entity); known != sizes.end()) return known->second;
  if (nesting > kMaxEntityNesting) return kTooMuch;
  sizes[entity] = kTooMuch;  // a definition that reaches itself counts as too much
  std::size_t total = 0;
  const char* p = libxml::Chars(entity->content);
  const char* end = p + (entity->length > 0 ? entity->length : 0);
  while (p < end && total < kTooMuch) {
    const char* semicolon = *p == '&' && p + 1 < end && p[1] != '#'
                                ? static_cast<const char*>(std::memchr(p, ';', static_cast<std::size_t>(end - p)))
                                : nullptr;
    if (semicolon == nullptr) {
      ++total;
      ++p;
      continue;
    }
    const std::string name(p + 1, semicolon);
    const xmlEntity* inner = xmlGetDocEntity(tree, BAD_CAST name.c_str());
    if (inner == nullptr || inner->etype == XML_INTERNAL_PREDEFINED_ENTITY)
      total += 1;
    else if (inner->etype == XML_INTERNAL_GENERAL_ENTITY)
      total += ExpandedSize(tree, inner, nesting + 1);
    p = semicolon + 1;
  }
  if (total > kTooMuch) total = kTooMuch;
  sizes[entity] = total;
  return total;
}

// An external entity is never loaded: a reference to it reads as an empty
// internal entity of the same name and kind.
xmlEntityPtr StandInFor(const xmlEntity* external) {
  LoadState& state = *tLoad;
  if (!state.standIns) {
    state.standIns.reset(xmlNewDoc(BAD_CAST "1.0"));
    if (!state.standIns || xmlCreateIntSubset(state.standIns.get(), BAD_CAST "stand-ins", nullptr, nullptr) == nullptr)
      return nullptr;
  }
  const bool parameter = external->etype == XML_EXTERNAL_PARAMETER_ENTITY;
  xmlDoc* standIns = state.standIns.get();
  if (xmlEntityPtr known = parameter ? xmlGetParameterEntity(standIns, external->name)
                                     : xmlGetDocEntity(standIns, external->name);
      known != nullptr)
    return known;
  return xmlAddDocEntity(standIns, external->name, parameter ? XML_INTERNAL_PARAMETER_ENTITY : XML_INTERNAL_GENERAL_ENTITY,
                         nullptr, nullptr, BAD_CAST "");
}

// A parameter entity defined outside the document would be read through
// the process-wide loader: it reads as empty instead.
xmlEntityPtr GetParameterEntityWithoutFetching(void* userData, const xmlChar* name) {
  xmlEntityPtr entity = xmlSAX2GetParameterEntity(userData, name);
  if (entity != nullptr && entity->etype == XML_EXTERNAL_PARAMETER_ENTITY) return StandInFor(entity);
  return entity;
}

// Counts what each reference in the document's content expands to, and
// keeps external entities out.
xmlEntityPtr GetEntityWithinBudget(void* userData, const xmlChar* name) {
  auto* context = static_cast<xmlParserCtxtPtr>(userData);
  xmlEntityPtr entity = xmlSAX2GetEntity(userData, name);
  if (entity == nullptr || context->inSubset != 0) return entity;
  if (entity->etype == XML_EXTERNAL_GENERAL_PARSED_ENTITY) return StandInFor(entity);
  if (entity->etype != XML_INTERNAL_GENERAL_ENTITY || context->depth != 0) return entity;
  tLoad->expansion += ExpandedSize(context->myDoc, entity, 0);
  if (tLoad->expansion > kMaxEntityExpansion) {
    Refuse(context, "Entity references expand to more text than allowed.");
    return nullptr;
  }
  return entity;
}

void InternalSubsetUnlessProhibited(void* userData, const xmlChar* name, const xmlChar* publicId,
                                    const xmlChar* systemId) {
  if (tLoad->prohibitDtd) {
    Refuse(static_cast<xmlParserCtxtPtr>(userData), "DTD is prohibited.");
    return;
  }
  xmlSAX2InternalSubset(userData, name, publicId, systemId);
}

xmlParserInputPtr ResolveNothing(void*, const xmlChar*, const xmlChar*) { return nullptr; }

struct ContextDeleter {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

void RemoveNode(xmlNode* node) {
  xmlUnlinkNode(node);
  xmlFreeNode(node);
}

// Removes `blank`, marks where it was, and returns the node now following
// its place. Two CDATA sections that only white space kept apart become one,
// as the Windows parser reads them.
xmlNode* RemoveBlank(xmlNode* blank) {
  xmlNode* parent = blank->parent;
  xmlNode* before = blank->prev;
  xmlNode* after = blank->next;
  RemoveNode(blank);
  if (before != nullptr && after != nullptr && before->type == XML_CDATA_SECTION_NODE &&
      after->type == XML_CDATA_SECTION_NODE) {
    xmlNodeAddContent(before, after->content);
    xmlNode* following = after->next;
    RemoveNode(after);
    return following;
  }
  if (after != nullptr)
    libxml::Mark(after, libxml::kBlankBefore);
  else
    libxml::Mark(parent, libxml::kBlankAtEnd);
  return after;
}

// One walk over the fresh tree: drops the text nodes that hold only white
// space (unless xml:space="preserve" is in force), as the Windows parser does
// by default, and checks the nesting depth. Returns false when too deep.
bool ShapeTree(xmlDoc* tree) {
  std::vector<bool> preserve{false};  // the document, then one entry per open element
  xmlNode* node = tree->children;
  while (node != nullptr) {
    if (node->type == XML_TEXT_NODE && !preserve.back() && libxml::IsBlank(node->content)) {
      xmlNode* parent = node->parent;
      node = RemoveBlank(node);
      if (node != nullptr) continue;
      // That was its parent's last child: the parent is done.
      if (parent == nullptr || parent->type != XML_ELEMENT_NODE) return true;
      preserve.pop_back();
      node = parent;
    } else if (node->type == XML_ELEMENT_NODE) {
      if (preserve.size() > static_cast<std::size_t>(kMaxElementDepth)) return false;
      if (node->children != nullptr) {
        preserve.push_back(libxml::SpacePreservedIn(node, preserve.back()));
        node = node->children;
        continue;
      }
    }
    while (node->next == nullptr) {
      node = node->parent;
      if (node == nullptr || node->type != XML_ELEMENT_NODE) return true;
      preserve.pop_back();
    }
    node = node->next;
  }
  return true;
}

void SetError(DocumentObject& document, std::int32_t code, std::string reason) {
  document.tree.reset();
  document.error.code = code;
  document.error.reason = std::move(reason);
}

std::string LibxmlReason(const xmlError* error) {
  if (error == nullptr || error->message == nullptr) return "The document is not well-formed.";
  std::string reason = error->message;
  while (!reason.empty() && libxml::IsXmlSpace(reason.back())) reason.pop_back();
  return reason;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads at most kMaxDocumentBytes + 1 bytes: enough to tell that a file is
// over the limit without reading it all.
bool ReadBounded(const char* path, std::string& contents) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return false;
  char chunk[64 * 1024];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    contents.append(chunk, got);
    if (contents.size() > kMaxDocumentBytes) return true;
    if (got < sizeof chunk) return std::ferror(file.get()) == 0;
  }
}

}  // namespace

namespace libxml {

bool ParseInto(DocumentObject& document, const char* data, std::size_t size, bool forceUtf8) {
  document.tree.reset();
  document.error = ParseErrorObject{};
  if (size > kMaxDocumentBytes) {
    SetError(document, ParseErrorCode(XML_ERR_INTERNAL_ERROR), "The document is larger than allowed.");
    return false;
  }
  std::unique_ptr<xmlParserCtxt, ContextDeleter> context(xmlNewParserCtxt());
  if (!context || context->sax == nullptr) {
    SetError(document, kOutOfMemory, "Out of memory.");
    return false;
  }
  context->sax->getEntity = GetEntityWithinBudget;
  context->sax->getParameterEntity = GetParameterEntityWithoutFetching;
  context->sax->internalSubset = InternalSubsetUnlessProhibited;
  context->sax->externalSubset = nullptr;
  context->sax->resolveEntity = ResolveNothing;

  LoadState state;
  state.prohibitDtd = document.prohibitDtd;
  LoadScope scope(state);
  // Entities are replaced by their text; no option that loads a DTD or
  // reaches the network is given, nor the one that lifts libxml2's limits.
  int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  if (forceUtf8) options |= XML_PARSE_IGNORE_ENC;
  UniqueTree tree(
      xmlCtxtReadMemory(context.get(), data, static_cast<int>(size), nullptr, forceUtf8 ? "UTF-8" : nullptr, options));
  if (state.refusal != nullptr) {
    SetError(document, ParseErrorCode(XML_ERR_INTERNAL_ERROR), state.refusal);
    return false;
  }
  // A prefix without its declaration is an error of the namespace rules,
  // which libxml2 reports and goes on from; the Windows parser refuses it.
  if (!tree || context->nsWellFormed == 0) {
    const xmlError* error = xmlCtxtGetLastError(context.get());
    SetError(document, ParseErrorCode(error != nullptr ? error->code : XML_ERR_INTERNAL_ERROR), LibxmlReason(error));
    return false;
  }
  if (xmlDocGetRootElement(tree.get()) == nullptr) {
    SetError(document, ParseErrorCode(XML_ERR_DOCUMENT_EMPTY), "The document has no root element.");
    return false;
  }
  if (!ShapeTree(tree.get())) {
    SetError(document, ParseErrorCode(XML_ERR_INTERNAL_ERROR), "Elements are nested deeper than allowed.");
    return false;
  }
  document.tree = std::move(tree);
  return true;
}

}  // namespace libxml

Status Load(DocumentObject* document, TextObject* path, bool& parsed) {
  parsed = false;
  if (document == nullptr || path == nullptr) return kFail;
  std::string contents;
  if (!ReadBounded(path->text.c_str(), contents)) {
    SetError(*document, kObjectNotFound, "The system cannot locate the object specified.");
    return kOk;
  }
  parsed = libxml::ParseInto(*document, contents.data(), contents.size(), false);
  return kOk;
}

Status LoadXml(DocumentObject* document, TextObject* text, bool& parsed) {
  parsed = false;
  if (document == nullptr || text == nullptr) return kFail;
  parsed = libxml::ParseInto(*document, text->text.data(), text->text.size(), true);
  return kOk;
}

void Release(ParseErrorObject* object) noexcept { delete object; }

Status GetParseError(DocumentObject* document, Ref<ParseErrorObject>& error) {
  error.reset();
  if (document == nullptr) return kFail;
  auto* copy = new (std::nothrow) ParseErrorObject(document->error);
  if (copy == nullptr) return kOutOfMemory;
  error = Ref<ParseErrorObject>(copy);
  return kOk;
}

Status ErrorCode(ParseErrorObject* error, std::int32_t& code) {
  if (error == nullptr) return kFail;
  code = error->code;
  return kOk;
}

Status ErrorReason(ParseErrorObject* error, std::string& reason) {
  if (error == nullptr) return kFail;
  reason = error->reason;
  return reason.empty() ? kFalse : kOk;
}

}  // namespace velinst::dom
