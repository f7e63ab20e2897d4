// Cursors through which the library reads a loaded document: node names,
// texts, markup and attributes as narrow strings.
//
// A cursor moves over the tree (tree mode) or over the result of an XPath
// query (list mode). Moves return true on success and leave the cursor as it
// was on failure; reading never throws. Child and attribute cursors belong
// to the cursor that made them and are replaced by the next call of the same
// kind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "xml/dom.h"

namespace velinst {

class CXMLAttributeCursor;

class CXMLNodeCursor {
 public:
  CXMLNodeCursor();
  CXMLNodeCursor(const CXMLNodeCursor&) = delete;
  CXMLNodeCursor& operator=(const CXMLNodeCursor&) = delete;
  virtual ~CXMLNodeCursor();

  // Current becomes the anchor; true when there is one.
  bool Reset();
  // List mode: the next item of the list. Tree mode: one step of a
  // document-order walk, which runs past the anchor's subtree to the end of
  // the document.
  bool Next();
  bool Parent();
  bool FirstChild();
  bool NextSibling();
  bool PreviousSibling();

  // A new cursor on the current node's first child, or null (keeping any
  // earlier child cursor) when it has none.
  CXMLNodeCursor* ChildCursor();
  // This cursor's attribute cursor, restarted on the current node's
  // attributes and standing on the first; null when there are none.
  CXMLAttributeCursor* AttributeCursor();
  // Enters list mode on `list` and moves to its first item.
  bool BeginList(dom::Ref<dom::ListObject> list);

  std::string Name() const;
  // In the ANSI code page; characters outside it are lost.
  std::string Text() const;
  // In UTF-8.
  std::string Xml() const;

  // Number of items of the list (or attribute map) the cursor iterates.
  std::int32_t Length() const { return length_; }

 protected:
  friend class CXMLDocument;

  // Tree mode on `node`: anchor and current, no list.
  void StartAt(dom::Ref<dom::NodeObject> node);
  dom::NodeObject* Current() const { return current_.get(); }
  // For the attribute cursor, which walks a map instead of a list.
  void StartItems(std::int32_t length);
  bool AtEnd() const { return index_ >= length_; }
  std::int32_t TakeIndex() { return index_++; }
  void SetCurrent(dom::Ref<dom::NodeObject> node) { current_ = std::move(node); }
  void AnchorAtCurrent() { anchor_ = current_; }

 private:
  using Step = dom::Status (*)(dom::NodeObject*, dom::Ref<dom::NodeObject>&);
  bool Move(Step step);
  bool NextInList();
  bool NextInTree();

  dom::Ref<dom::NodeObject> anchor_;
  dom::Ref<dom::ListObject> list_;
  dom::Ref<dom::NodeObject> current_;
  std::unique_ptr<CXMLAttributeCursor> attributeCursor_;
  std::int32_t length_ = 0;
  std::int32_t index_ = 0;
  std::unique_ptr<CXMLNodeCursor> childCursor_;
};

// A cursor over the attributes of one node; its current node is the current
// attribute (name by Name, value by Text).
class CXMLAttributeCursor : public CXMLNodeCursor {
 public:
  // Restarts on the attributes of `node` and moves to the first; false when
  // the node has none.
  bool BeginAttributes(dom::NodeObject* node);
  // False when every attribute has been visited or the next cannot be read.
  bool NextAttribute();

 private:
  dom::Ref<dom::MapObject> map_;
};

}  // namespace velinst
