// Arbitrary bytes as an answer document: loaded with LoadText, walked whole
// through the cursors (names, texts, markup, attributes, a query), and read
// into a small declared object model.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "xml/document.h"
#include "xml/object_model.h"
#include "xml/typed_values.h"

namespace {

using velinst::CXMLAttributeCursor;
using velinst::CXMLDocument;
using velinst::CXMLNodeCursor;
using velinst::CXMLObject;

std::size_t sink = 0;

void ReadNode(CXMLNodeCursor& cursor) {
  sink += cursor.Name().size() + cursor.Text().size() + cursor.Xml().size();
  if (CXMLAttributeCursor* attribute = cursor.AttributeCursor(); attribute != nullptr) {
    do sink += attribute->Name().size() + attribute->Text().size() + attribute->Xml().size();
    while (attribute->NextAttribute());
  }
}

// Child cursors, sibling by sibling, as the answer parsers walk.
void WalkChildren(CXMLNodeCursor& cursor, int depth) {
  CXMLNodeCursor* child = cursor.ChildCursor();
  if (child == nullptr || depth > 300) return;
  do {
    ReadNode(*child);
    WalkChildren(*child, depth + 1);
  } while (child->NextSibling());
}

// The collection protocol: items are further Derived objects.
template <typename Derived>
class Container : public velinst::CXMLComplexObject {
 public:
  std::unique_ptr<CXMLObject> Clone() const override { return Create(); }
  std::unique_ptr<CXMLObject> Create() const override { return std::make_unique<Derived>(); }
  CXMLObject* Add(std::unique_ptr<CXMLObject> item) override {
    items.push_back(std::move(item));
    return items.back().get();
  }
  CXMLObject* GetItem(int index) const override { return items[static_cast<std::size_t>(index)].get(); }
  int Count() const override { return static_cast<int>(items.size()); }
  void Assign(const CXMLObject& other) override { AssignDeclarationData(other); }

  std::vector<std::unique_ptr<CXMLObject>> items;
};

// <entry key=""> text and any elements </entry>
class Field : public Container<Field> {
 public:
  Field() {
    SetOrder(kSequence);
    DeclareAttribute("key", key, 0, 1);
    DeclareElement("#text", text, 0, 1);
    DeclareElement(kAnyElement, any, 0, kUnbounded);
  }
  velinst::CXMLString key;
  velinst::CXMLString text;
  velinst::CXMLString any;
};

// <record id="" kind=""> with a name, a size and repeating entries, in an
// order chosen by the input.
class Record : public Container<Record> {
 public:
  Record() : Record(kSequence) {}
  explicit Record(std::int32_t order) {
    SetOrder(order);
    DeclareAttribute("id", id, 1, 1);
    DeclareAttribute("kind", kind, 0, 1);
    DeclareElement("name", name, 1, 1);
    DeclareElement("size", size, 0, 1);
    DeclareElement("entry", entries, 0, kUnbounded);
  }
  velinst::CXMLUnsigned id;
  velinst::CXMLString kind;
  velinst::CXMLString name;
  velinst::CXMLDouble size;
  Field entries;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The object model reports what it skips on the standard output.
  std::freopen("/dev/null", "w", stdout);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CXMLDocument document;
  try {
    document.LoadText(text.c_str());
  } catch (velinst::CLastErr*) {
    return 0;
  }
  CXMLNodeCursor& root = *document.GetRoot();
  ReadNode(root);
  WalkChildren(root, 0);
  while (root.Next()) ReadNode(root);
  try {
    document.RegisterNamespaces();
    if (CXMLNodeCursor* found = document.SelectNodes("//*[@id] | //@* | //text()"); found != nullptr) {
      do sink += found->Name().size();
      while (found->Next());
    }
  } catch (velinst::CLastErr*) {
  }

  static const std::int32_t kOrders[] = {velinst::CXMLIndicator::kAll, velinst::CXMLIndicator::kChoice,
                                         velinst::CXMLIndicator::kSequence};
  Record record(kOrders[size % 3]);
  try {
    CXMLNodeCursor& top = *document.GetRoot();
    record.ReadAttributes(top);
    record.Read(top);
  } catch (const velinst::CLastErr&) {
  }
  return 0;
}
