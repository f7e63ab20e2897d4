// Moving through the host's tree the way the Windows DOM moves: attributes
// and namespace declarations have neither parent nor siblings, a document
// type declaration shows no children, and namespace declarations are listed
// with the attributes of their element.
#include <libxml/tree.h>

#include <new>
#include <string>

#include "xml/dom.h"
#include "xml/posix/libxml_node.h"

namespace velinst::dom {

namespace {

bool IsAttributeLike(NodeObject* node) {
  return libxml::IsNamespace(node) || libxml::AsNode(node)->type == XML_ATTRIBUTE_NODE;
}

Status Hand(xmlNode* found, Ref<NodeObject>& out) {
  out = Ref<NodeObject>(found != nullptr ? libxml::Handle(found) : nullptr);
  return found != nullptr ? kOk : kFalse;
}

Status ItemOf(const NodeVector* vector, std::int32_t index, Ref<NodeObject>& item) {
  item.reset();
  if (vector == nullptr || index < 0 || static_cast<std::size_t>(index) >= vector->nodes.size()) return kFalse;
  item = Ref<NodeObject>(vector->nodes[static_cast<std::size_t>(index)]);
  return kOk;
}

Status LengthOf(const NodeVector* vector, std::int32_t& length) {
  if (vector == nullptr) return kFail;
  length = static_cast<std::int32_t>(vector->nodes.size());
  return kOk;
}

}  // namespace

// The tree owns its nodes; references to them need no counting.
void Retain(NodeObject*) noexcept {}
void Release(NodeObject*) noexcept {}
void Release(ListObject* object) noexcept { delete object; }
void Release(MapObject* object) noexcept { delete object; }

Status FirstChild(NodeObject* node, Ref<NodeObject>& child) {
  if (node == nullptr) return kFail;
  if (libxml::IsNamespace(node)) return Hand(nullptr, child);
  // These two keep declarations, not document content, as their children.
  const xmlElementType type = libxml::AsNode(node)->type;
  if (type == XML_DTD_NODE || type == XML_ENTITY_REF_NODE) return Hand(nullptr, child);
  return Hand(libxml::AsNode(node)->children, child);
}

Status Parent(NodeObject* node, Ref<NodeObject>& parent) {
  if (node == nullptr) return kFail;
  if (IsAttributeLike(node)) return Hand(nullptr, parent);
  return Hand(libxml::AsNode(node)->parent, parent);
}

Status NextSibling(NodeObject* node, Ref<NodeObject>& sibling) {
  if (node == nullptr) return kFail;
  if (IsAttributeLike(node)) return Hand(nullptr, sibling);
  return Hand(libxml::AsNode(node)->next, sibling);
}

Status PreviousSibling(NodeObject* node, Ref<NodeObject>& sibling) {
  if (node == nullptr) return kFail;
  if (IsAttributeLike(node)) return Hand(nullptr, sibling);
  return Hand(libxml::AsNode(node)->prev, sibling);
}

Status Attributes(NodeObject* node, Ref<MapObject>& attributes) {
  attributes.reset();
  if (node == nullptr) return kFail;
  if (libxml::IsNamespace(node) || libxml::AsNode(node)->type != XML_ELEMENT_NODE) return kFalse;
  xmlNode* element = libxml::AsNode(node);
  auto* map = new (std::nothrow) MapObject;
  if (map == nullptr) return kOutOfMemory;
  attributes = Ref<MapObject>(map);
  for (xmlNs* ns = element->nsDef; ns != nullptr; ns = ns->next) map->nodes.push_back(libxml::Handle(ns));
  for (xmlAttr* attribute = element->properties; attribute != nullptr; attribute = attribute->next)
    map->nodes.push_back(libxml::Handle(reinterpret_cast<xmlNode*>(attribute)));
  return kOk;
}

Status Length(MapObject* attributes, std::int32_t& length) { return LengthOf(attributes, length); }
Status Item(MapObject* attributes, std::int32_t index, Ref<NodeObject>& item) {
  return ItemOf(attributes, index, item);
}
Status Length(ListObject* list, std::int32_t& length) { return LengthOf(list, length); }
Status Item(ListObject* list, std::int32_t index, Ref<NodeObject>& item) { return ItemOf(list, index, item); }

namespace libxml {

std::string QualifiedName(const xmlNode* node) {
  std::string name;
  if (node->ns != nullptr && node->ns->prefix != nullptr) {
    name = Chars(node->ns->prefix);
    name += ':';
  }
  name += Chars(node->name);
  return name;
}

bool PreservesSpace(const xmlNode* element) { return xmlNodeGetSpacePreserve(element) == 1; }

bool SpacePreservedIn(const xmlNode* element, bool inherited) {
  xmlChar* space = xmlGetNsProp(element, BAD_CAST "space", XML_XML_NAMESPACE);
  if (space == nullptr) return inherited;
  const std::string value = Chars(space);
  xmlFree(space);
  if (value == "preserve") return true;
  if (value == "default") return false;
  return inherited;
}

}  // namespace libxml
}  // namespace velinst::dom
