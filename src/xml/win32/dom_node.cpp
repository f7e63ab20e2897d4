// Moving through MSXML 6's tree, and its attribute maps and node lists.
#include <windows.h>

#include <msxml2.h>

#include "xml/dom.h"
#include "xml/win32/com_objects.h"

namespace velinst::dom {

namespace {

using Move = HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*)(IXMLDOMNode**);

Status Step(NodeObject* node, Move move, Ref<NodeObject>& out) {
  out.reset();
  if (node == nullptr) return kFail;
  IXMLDOMNode* found = nullptr;
  const HRESULT result = (com::Of(node)->*move)(&found);
  out = com::Adopt<NodeObject>(found);
  return result;
}

}  // namespace

void Retain(NodeObject* object) noexcept {
  if (object != nullptr) com::Of(object)->AddRef();
}
void Release(NodeObject* object) noexcept {
  if (object != nullptr) com::Of(object)->Release();
}
void Release(ListObject* object) noexcept {
  if (object != nullptr) com::Of(object)->Release();
}
void Release(MapObject* object) noexcept {
  if (object != nullptr) com::Of(object)->Release();
}

Status FirstChild(NodeObject* node, Ref<NodeObject>& child) { return Step(node, &IXMLDOMNode::get_firstChild, child); }
Status Parent(NodeObject* node, Ref<NodeObject>& parent) { return Step(node, &IXMLDOMNode::get_parentNode, parent); }
Status NextSibling(NodeObject* node, Ref<NodeObject>& sibling) {
  return Step(node, &IXMLDOMNode::get_nextSibling, sibling);
}
Status PreviousSibling(NodeObject* node, Ref<NodeObject>& sibling) {
  return Step(node, &IXMLDOMNode::get_previousSibling, sibling);
}

Status Attributes(NodeObject* node, Ref<MapObject>& attributes) {
  attributes.reset();
  if (node == nullptr) return kFail;
  IXMLDOMNamedNodeMap* map = nullptr;
  const HRESULT result = com::Of(node)->get_attributes(&map);
  attributes = com::Adopt<MapObject>(map);
  return result;
}

Status Length(MapObject* attributes, std::int32_t& length) {
  if (attributes == nullptr) return kFail;
  long value = 0;
  const HRESULT result = com::Of(attributes)->get_length(&value);
  if (SUCCEEDED(result)) length = static_cast<std::int32_t>(value);
  return result;
}

Status Item(MapObject* attributes, std::int32_t index, Ref<NodeObject>& item) {
  item.reset();
  if (attributes == nullptr) return kFail;
  IXMLDOMNode* found = nullptr;
  const HRESULT result = com::Of(attributes)->get_item(index, &found);
  item = com::Adopt<NodeObject>(found);
  return result;
}

Status Length(ListObject* list, std::int32_t& length) {
  if (list == nullptr) return kFail;
  long value = 0;
  const HRESULT result = com::Of(list)->get_length(&value);
  if (SUCCEEDED(result)) length = static_cast<std::int32_t>(value);
  return result;
}

Status Item(ListObject* list, std::int32_t index, Ref<NodeObject>& item) {
  item.reset();
  if (list == nullptr) return kFail;
  IXMLDOMNode* found = nullptr;
  const HRESULT result = com::Of(list)->get_item(index, &found);
  item = com::Adopt<NodeObject>(found);
  return result;
}

}  // namespace velinst::dom
