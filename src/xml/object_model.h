// A small schema-driven binding between XML elements and objects.
//
// Each element type is an object that declares, before use, the attributes
// it accepts and the child elements it holds, each with occurrence limits
// (the indicators of XML Schema: all, choice and sequence; minOccurs and
// maxOccurs). Reading fills a declared tree from a document through the
// cursors and checks element order and required attributes; writing turns a
// filled tree back into indented XML. Declared attribute values and children
// are owned by the declaring object's owner (usually as its members); items
// of a repeating child are owned by that child.
//
// Reading failures are thrown as a CLastErr by value; undeclared attributes
// and elements are reported on the standard output and skipped.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "errors/last_err.h"

namespace velinst {

class CXMLNodeCursor;
class CXMLWriter;
class CXMLSimpleObject;

class CXMLIndicator {
 public:
  static constexpr std::int32_t kAll = 1;
  static constexpr std::int32_t kChoice = 2;
  static constexpr std::int32_t kSequence = 4;
  // Selectors of SetLimit and GetLimit.
  static constexpr std::int32_t kMinOccurs = 8;
  static constexpr std::int32_t kMaxOccurs = 16;
  static constexpr std::int32_t kUnbounded = -1;

  // Values other than kAll, kChoice and kSequence are ignored.
  void SetOrder(std::int32_t order);
  std::int32_t GetOrder() const { return order_; }
  // Other selectors set nothing and read as 0.
  void SetLimit(std::int32_t selector, std::int32_t value);
  std::int32_t GetLimit(std::int32_t selector) const;

 private:
  std::int32_t order_ = 1;
  std::int32_t minOccurs_ = 1;
  std::int32_t maxOccurs_ = 1;
};

class CXMLObject : public CXMLIndicator {
 public:
  struct AttributeDeclaration {
    CXMLIndicator indicator;
    std::string name;
    CXMLSimpleObject* value;
  };

  CXMLObject() = default;
  CXMLObject(const CXMLObject&) = delete;
  CXMLObject& operator=(const CXMLObject&) = delete;
  virtual ~CXMLObject() = default;

  virtual bool IsMultiLine() const { return false; }
  virtual bool FromString(const std::string& value) = 0;
  virtual void Read(CXMLNodeCursor& cursor) = 0;
  virtual void WriteContent(CXMLWriter& writer, int depth) const = 0;
  // The collection protocol of a repeating child (maxOccurs kUnbounded): the
  // declared child is prototype and container. Create makes an empty item,
  // Assign copies the prototype into it, Add takes it in and returns it (or
  // null when the container keeps no items), Count and GetItem enumerate.
  virtual std::unique_ptr<CXMLObject> Clone() const = 0;
  virtual std::unique_ptr<CXMLObject> Create() const = 0;
  virtual CXMLObject* Add(std::unique_ptr<CXMLObject> item) = 0;
  virtual CXMLObject* GetItem(int index) const = 0;
  virtual int Count() const = 0;
  virtual void Assign(const CXMLObject& other) = 0;
  virtual void WriteAttributes(CXMLWriter& writer) const;

  // Records `value` as the attribute `name`; this object becomes its parent.
  void DeclareAttribute(const std::string& name, CXMLSimpleObject& value, std::int32_t minOccurs,
                        std::int32_t maxOccurs);
  // Sets the flag and marks every ancestor present.
  void SetPresent(bool present);
  bool IsPresent() const { return present_; }
  CXMLObject* GetParent() const { return parent_; }
  void SetParent(CXMLObject* parent) { parent_ = parent; }
  const std::string& GetName() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  const std::map<std::string, AttributeDeclaration>& Attributes() const { return attributes_; }
  // The "xmlns:" attributes met while reading, in document order.
  const std::vector<std::pair<std::string, std::string>>& NamespaceDeclarations() const { return namespaces_; }

  // Reads the attributes of the cursor's node into the declared values;
  // throws "Missing required attribute: " and the name when one is absent.
  void ReadAttributes(CXMLNodeCursor& cursor);
  // Nothing when not present; otherwise the element at `depth` (two spaces
  // per unit) with its attributes and content.
  void WriteElement(CXMLWriter& writer, int depth) const;
  // The XML declaration, then the element at depth 0.
  void WriteDocument(CXMLWriter& writer) const;

 protected:
  // What Assign copies of the object model's own fields.
  void AssignDeclarationData(const CXMLObject& other);
  void SetPresentFlag(bool present) { present_ = present; }

 private:
  CXMLObject* parent_ = nullptr;
  std::string name_;
  std::map<std::string, AttributeDeclaration> attributes_;
  std::vector<std::pair<std::string, std::string>> namespaces_;
  bool present_ = false;
};

// An element or attribute with a text value, held by the concrete type.
class CXMLSimpleObject : public CXMLObject {
 public:
  // Name and value of the cursor's node.
  void Read(CXMLNodeCursor& cursor) override;
  // The value, in a CDATA section when it holds one of & " ' < >.
  void WriteContent(CXMLWriter& writer, int depth) const override;
  virtual std::string ToString() const = 0;
  // ToString when present, "<NULL>" otherwise.
  std::string ValueText() const;
};

class CXMLComplexObject : public CXMLObject {
 public:
  struct ChildDeclaration {
    CXMLIndicator indicator;
    std::string name;
    CXMLObject* object;
  };
  // In a sequence, this name matches any element.
  static constexpr char kAnyElement[] = "#ANY";

  bool IsMultiLine() const override { return !inline_; }
  bool FromString(const std::string&) override { return false; }
  void Read(CXMLNodeCursor& cursor) override;
  void WriteContent(CXMLWriter& writer, int depth) const override;

  // Names `child` and records it in declaration order; this object becomes
  // its parent.
  void DeclareElement(const std::string& name, CXMLObject& child, std::int32_t minOccurs, std::int32_t maxOccurs);
  // Marks this object and the first child declared as `name` (ignoring case)
  // present, and returns the object to fill: the child, or a new item of a
  // repeating child. Null when no child has that name.
  CXMLObject* MarkElement(const std::string& name);
  void SetInline(bool inlined) { inline_ = inlined; }
  const std::vector<ChildDeclaration>& Children() const { return ordered_; }

 private:
  void ReadSequence(CXMLNodeCursor& child);
  void ReadAllOrChoice(CXMLNodeCursor& child);

  std::map<std::string, ChildDeclaration> childrenByName_;
  std::vector<ChildDeclaration> ordered_;
  bool inline_ = false;
};

}  // namespace velinst
