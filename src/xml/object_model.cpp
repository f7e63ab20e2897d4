#include "xml/object_model.h"

#include <cstdio>
#include <string_view>

#include "xml/escape.h"
#include "xml/node_cursor.h"
#include "xml/writer.h"

namespace velinst {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

constexpr std::string_view kTextNodeName = "#text";
constexpr std::string_view kDeclarationPrefix = "xmlns:";

void WriteIndent(CXMLWriter& writer, int depth) {
  for (int i = 0; i < depth; ++i) writer.Write("  ");
}

void WriteAttribute(CXMLWriter& writer, const std::string& name, const std::string& value) {
  writer.Write(" ");
  writer.Write(name);
  writer.Write("=\"");
  writer.WriteEscaped(value);
  writer.Write("\"");
}

// Reads one child element into `object`: its attributes, then its content.
void ReadChild(CXMLObject& object, CXMLNodeCursor& cursor) {
  object.ReadAttributes(cursor);
  object.Read(cursor);
}

}  // namespace

void CXMLIndicator::SetOrder(std::int32_t order) {
  if (order == kAll || order == kChoice || order == kSequence) order_ = order;
}

void CXMLIndicator::SetLimit(std::int32_t selector, std::int32_t value) {
  if (selector == kMinOccurs) minOccurs_ = value;
  if (selector == kMaxOccurs) maxOccurs_ = value;
}

std::int32_t CXMLIndicator::GetLimit(std::int32_t selector) const {
  if (selector == kMinOccurs) return minOccurs_;
  if (selector == kMaxOccurs) return maxOccurs_;
  return 0;
}

void CXMLObject::DeclareAttribute(const std::string& name, CXMLSimpleObject& value, std::int32_t minOccurs,
                                  std::int32_t maxOccurs) {
  AttributeDeclaration declaration{CXMLIndicator(), name, &value};
  declaration.indicator.SetLimit(kMinOccurs, minOccurs);
  declaration.indicator.SetLimit(kMaxOccurs, maxOccurs);
  attributes_.insert_or_assign(name, declaration);
  value.SetParent(this);
}

void CXMLObject::SetPresent(bool present) {
  present_ = present;
  for (CXMLObject* ancestor = parent_; ancestor != nullptr; ancestor = ancestor->parent_) ancestor->present_ = true;
}

void CXMLObject::AssignDeclarationData(const CXMLObject& other) {
  static_cast<CXMLIndicator&>(*this) = other;
  parent_ = other.parent_;
  name_ = other.name_;
  present_ = other.present_;
}

void CXMLObject::ReadAttributes(CXMLNodeCursor& cursor) {
  if (CXMLAttributeCursor* attribute = cursor.AttributeCursor(); attribute != nullptr) {
    do {
      const std::string name = attribute->Name();
      const std::string value = attribute->Text();
      if (const auto declared = attributes_.find(name); declared != attributes_.end()) {
        CXMLSimpleObject& target = *declared->second.value;
        target.SetPresentFlag(target.FromString(value));
      } else if (name.compare(0, kDeclarationPrefix.size(), kDeclarationPrefix) == 0) {
        namespaces_.emplace_back(name, value);
      } else {
        std::printf("Ignoring attribute: '%s' (in element %s)\n", name.c_str(), cursor.Name().c_str());
      }
    } while (attribute->NextAttribute());
  }
  for (const auto& [name, declaration] : attributes_) {
    if (declaration.indicator.GetLimit(kMinOccurs) > 0 && !declaration.value->IsPresent())
      throw CLastErr(("Missing required attribute: " + name).c_str());
  }
}

void CXMLObject::WriteAttributes(CXMLWriter& writer) const {
  for (const auto& [name, value] : namespaces_) WriteAttribute(writer, name, value);
  for (const auto& [name, declaration] : attributes_) {
    if (declaration.value->IsPresent()) WriteAttribute(writer, name, declaration.value->ValueText());
  }
}

void CXMLObject::WriteElement(CXMLWriter& writer, int depth) const {
  if (!present_) return;
  const bool tagged = name_ != kTextNodeName;
  if (tagged) {
    WriteIndent(writer, depth);
    writer.Write("<");
    writer.Write(name_);
    WriteAttributes(writer);
    writer.Write(">");
    if (IsMultiLine()) writer.Write("\n");
  }
  WriteContent(writer, depth + 1);
  if (tagged) {
    if (IsMultiLine()) WriteIndent(writer, depth);
    writer.Write("</");
    writer.Write(name_);
    writer.Write(">\n");
  }
}

void CXMLObject::WriteDocument(CXMLWriter& writer) const {
  writer.Write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");
  WriteElement(writer, 0);
}

void CXMLSimpleObject::Read(CXMLNodeCursor& cursor) {
  SetName(cursor.Name());
  SetPresentFlag(FromString(cursor.Text()));
}

std::string CXMLSimpleObject::ValueText() const { return IsPresent() ? ToString() : std::string("<NULL>"); }

void CXMLSimpleObject::WriteContent(CXMLWriter& writer, int) const { writer.Write(ElementText(ValueText())); }

void CXMLComplexObject::DeclareElement(const std::string& name, CXMLObject& child, std::int32_t minOccurs,
                                       std::int32_t maxOccurs) {
  child.SetName(name);
  ChildDeclaration declaration{CXMLIndicator(), name, &child};
  declaration.indicator.SetLimit(kMinOccurs, minOccurs);
  declaration.indicator.SetLimit(kMaxOccurs, maxOccurs);
  childrenByName_.insert_or_assign(name, declaration);
  ordered_.push_back(declaration);
  child.SetParent(this);
}

CXMLObject* CXMLComplexObject::MarkElement(const std::string& name) {
  for (const ChildDeclaration& entry : ordered_) {
    if (!EqualsIgnoringCase(entry.name, name)) continue;
    SetPresent(true);
    entry.object->SetPresent(true);
    entry.object->SetName(name);
    if (entry.indicator.GetLimit(kMaxOccurs) != kUnbounded) return entry.object;
    std::unique_ptr<CXMLObject> item = entry.object->Create();
    item->Assign(*entry.object);
    CXMLObject* added = entry.object->Add(std::move(item));
    // A container that keeps no items leaves its prototype to fill.
    return added != nullptr ? added : entry.object;
  }
  return nullptr;
}

void CXMLComplexObject::Read(CXMLNodeCursor& cursor) {
  SetName(cursor.Name());
  SetPresentFlag(true);
  CXMLNodeCursor* child = cursor.ChildCursor();
  if (child == nullptr) return;
  if (GetOrder() == kSequence)
    ReadSequence(*child);
  else
    ReadAllOrChoice(*child);
}

// Children and declared entries advance together. An entry that may repeat
// (maxOccurs other than 1) stays current for further children; an optional
// entry that does not match is passed over.
void CXMLComplexObject::ReadSequence(CXMLNodeCursor& child) {
  auto entry = ordered_.begin();
  for (;;) {
    const std::string name = child.Name();
    if (entry == ordered_.end()) throw CLastErr(("Sequence error -- element not found: " + name).c_str());
    if (entry->name != kAnyElement && !EqualsIgnoringCase(entry->name, name)) {
      if (entry->indicator.GetLimit(kMinOccurs) == 1) throw CLastErr("Sequence error -- missing element");
      ++entry;
      continue;
    }
    const std::int32_t maxOccurs = entry->indicator.GetLimit(kMaxOccurs);
    if (maxOccurs == kUnbounded) {
      std::unique_ptr<CXMLObject> item = entry->object->Create();
      ReadChild(*item, child);
      entry->object->Add(std::move(item));
    } else {
      ReadChild(*entry->object, child);
    }
    if (!child.NextSibling()) return;
    if (maxOccurs == 1) ++entry;
  }
}

// Children are looked up by exact name; a choice takes the first that is
// declared.
void CXMLComplexObject::ReadAllOrChoice(CXMLNodeCursor& child) {
  do {
    const std::string name = child.Name();
    const auto declared = childrenByName_.find(name);
    if (declared == childrenByName_.end()) {
      std::printf("Ignoring element: '%s'\n", name.c_str());
      continue;
    }
    ReadChild(*declared->second.object, child);
    if (GetOrder() == kChoice) return;
  } while (child.NextSibling());
}

void CXMLComplexObject::WriteContent(CXMLWriter& writer, int depth) const {
  for (const ChildDeclaration& entry : ordered_) {
    const CXMLObject& object = *entry.object;
    if (entry.indicator.GetLimit(kMaxOccurs) == kUnbounded && (!object.IsPresent() || object.Count() != 0)) {
      for (int i = 0; i < object.Count(); ++i) {
        if (const CXMLObject* item = object.GetItem(i); item != nullptr) item->WriteElement(writer, depth + 1);
      }
    } else {
      object.WriteElement(writer, depth + 1);
    }
  }
}

}  // namespace velinst
