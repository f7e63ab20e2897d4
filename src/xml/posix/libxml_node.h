// How the host's DOM references map onto libxml2's tree.
//
// A node reference is a plain pointer into the tree that its document owns:
// an xmlNode (element, text, attribute, document...) or, for a namespace
// declaration shown as an "xmlns" attribute, the xmlNs that the element
// declares. Both structures keep their type at the same offset, which is how
// libxml2 itself tells them apart. References need no counting: the tree
// lives as long as its document, and the cursors never outlive a load.
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "xml/dom.h"

namespace velinst::dom {

// The nodes of an attribute map or an XPath result, in order.
struct NodeVector {
  std::vector<NodeObject*> nodes;
};
struct ListObject : NodeVector {};
struct MapObject : NodeVector {};

}  // namespace velinst::dom

namespace velinst::dom::libxml {

static_assert(offsetof(xmlNode, type) == offsetof(xmlNs, type));

inline xmlElementType TypeOf(const NodeObject* node) {
  xmlElementType type;
  std::memcpy(&type, reinterpret_cast<const char*>(node) + offsetof(xmlNode, type), sizeof type);
  return type;
}
inline bool IsNamespace(const NodeObject* node) { return TypeOf(node) == XML_NAMESPACE_DECL; }
inline xmlNode* AsNode(NodeObject* node) { return reinterpret_cast<xmlNode*>(node); }
inline xmlNs* AsNamespace(NodeObject* node) { return reinterpret_cast<xmlNs*>(node); }
inline NodeObject* Handle(xmlNode* node) { return reinterpret_cast<NodeObject*>(node); }
inline NodeObject* Handle(xmlNs* ns) { return reinterpret_cast<NodeObject*>(ns); }

inline const char* Chars(const xmlChar* text) { return text != nullptr ? reinterpret_cast<const char*>(text) : ""; }

// XML's white space: space, tab, line feed and carriage return.
inline bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
inline bool IsBlank(const xmlChar* text) {
  for (const char* p = Chars(text); *p != '\0'; ++p)
    if (!IsXmlSpace(*p)) return false;
  return true;
}

// The qualified name "prefix:local" of an element or attribute.
std::string QualifiedName(const xmlNode* node);
// Whether xml:space="preserve" is in force for `element`: looked up through
// its ancestors, or from what is in force for its parent (`inherited`).
bool PreservesSpace(const xmlNode* element);
bool SpacePreservedIn(const xmlNode* element, bool inherited);

// Where loading dropped white space, which Text shows as one space between
// the texts around it. Kept in the node's application field: before a node,
// or at the end of an element's children.
inline constexpr std::uintptr_t kBlankBefore = 1;
inline constexpr std::uintptr_t kBlankAtEnd = 2;
inline void Mark(xmlNode* node, std::uintptr_t mark) {
  node->_private = reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(node->_private) | mark);
}
inline bool HasMark(const xmlNode* node, std::uintptr_t mark) {
  return (reinterpret_cast<std::uintptr_t>(node->_private) & mark) != 0;
}

}  // namespace velinst::dom::libxml
