#include "xml/node_cursor.h"

#include <utility>

namespace velinst {

CXMLNodeCursor::CXMLNodeCursor() = default;
CXMLNodeCursor::~CXMLNodeCursor() = default;

void CXMLNodeCursor::StartAt(dom::Ref<dom::NodeObject> node) {
  anchor_ = node;
  current_ = std::move(node);
  // A list walked before is forgotten whole: its length no longer applies.
  list_.reset();
  length_ = 0;
  index_ = 0;
}

void CXMLNodeCursor::StartItems(std::int32_t length) {
  list_.reset();
  length_ = length;
  index_ = 0;
}

bool CXMLNodeCursor::Reset() {
  if (!anchor_) return false;
  current_ = anchor_;
  return true;
}

bool CXMLNodeCursor::Next() { return list_ ? NextInList() : NextInTree(); }

bool CXMLNodeCursor::NextInList() {
  if (index_ >= length_) return false;
  dom::Ref<dom::NodeObject> item;
  if (dom::Item(list_.get(), index_, item) != dom::kOk || !item) return false;
  current_ = std::move(item);
  ++index_;
  return true;
}

// Pre-order: the first child, else the next sibling, else the next sibling
// of the nearest ancestor that has one. The walk is not confined to the
// anchor's subtree. It works on a copy, so that the cursor stays where it was
// when the document is done.
bool CXMLNodeCursor::NextInTree() {
  if (!anchor_ || !current_) return false;
  dom::Ref<dom::NodeObject> found;
  if (dom::FirstChild(current_.get(), found) == dom::kOk && found) {
    current_ = std::move(found);
    return true;
  }
  dom::Ref<dom::NodeObject> node = current_;
  for (;;) {
    if (dom::NextSibling(node.get(), found) == dom::kOk && found) {
      current_ = std::move(found);
      return true;
    }
    dom::Ref<dom::NodeObject> parent;
    if (dom::Parent(node.get(), parent) != dom::kOk || !parent) return false;
    node = std::move(parent);
  }
}

bool CXMLNodeCursor::Move(Step step) {
  if (!current_) return false;
  dom::Ref<dom::NodeObject> found;
  if (step(current_.get(), found) != dom::kOk || !found) return false;
  current_ = std::move(found);
  return true;
}

bool CXMLNodeCursor::Parent() { return Move(dom::Parent); }
bool CXMLNodeCursor::FirstChild() { return Move(dom::FirstChild); }
bool CXMLNodeCursor::NextSibling() { return Move(dom::NextSibling); }
bool CXMLNodeCursor::PreviousSibling() { return Move(dom::PreviousSibling); }

CXMLNodeCursor* CXMLNodeCursor::ChildCursor() {
  if (!current_) return nullptr;
  dom::Ref<dom::NodeObject> child;
  if (dom::FirstChild(current_.get(), child) != dom::kOk || !child) return nullptr;
  auto cursor = std::make_unique<CXMLNodeCursor>();
  cursor->StartAt(std::move(child));
  childCursor_ = std::move(cursor);
  return childCursor_.get();
}

CXMLAttributeCursor* CXMLNodeCursor::AttributeCursor() {
  if (!current_) return nullptr;
  if (!attributeCursor_) attributeCursor_ = std::make_unique<CXMLAttributeCursor>();
  return attributeCursor_->BeginAttributes(current_.get()) ? attributeCursor_.get() : nullptr;
}

bool CXMLNodeCursor::BeginList(dom::Ref<dom::ListObject> list) {
  std::int32_t length = 0;
  if (!list || dom::Length(list.get(), length) != dom::kOk) length = 0;
  list_ = std::move(list);
  length_ = length;
  index_ = 0;
  return Next();
}

namespace {

using Reader = dom::Status (*)(dom::NodeObject*, std::string&);

std::string Read(dom::NodeObject* node, Reader reader) {
  std::string text;
  if (node == nullptr || !dom::Succeeded(reader(node, text))) return std::string();
  return text;
}

}  // namespace

std::string CXMLNodeCursor::Name() const { return Read(current_.get(), dom::Name); }
std::string CXMLNodeCursor::Text() const { return Read(current_.get(), dom::Text); }
std::string CXMLNodeCursor::Xml() const { return Read(current_.get(), dom::Xml); }

bool CXMLAttributeCursor::BeginAttributes(dom::NodeObject* node) {
  SetCurrent(dom::Ref<dom::NodeObject>());
  map_.reset();
  StartItems(0);
  if (node == nullptr) return false;
  dom::Ref<dom::MapObject> map;
  std::int32_t length = 0;
  if (dom::Attributes(node, map) != dom::kOk || !map) return false;
  if (dom::Length(map.get(), length) != dom::kOk || length <= 0) return false;
  map_ = std::move(map);
  StartItems(length);
  if (!NextAttribute()) return false;
  AnchorAtCurrent();
  return true;
}

bool CXMLAttributeCursor::NextAttribute() {
  if (!map_ || AtEnd()) return false;
  SetCurrent(dom::Ref<dom::NodeObject>());
  dom::Ref<dom::NodeObject> item;
  const bool fetched = dom::Item(map_.get(), TakeIndex(), item) == dom::kOk && item;
  SetCurrent(std::move(item));
  return fetched;
}

}  // namespace velinst
