// The simple values of the object model: text, signed and unsigned 32-bit
// integers and doubles. Numbers are written in full, whatever their length.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "xml/object_model.h"

namespace velinst {

// The collection protocol of every simple value: a value keeps no items.
template <typename Derived>
class CXMLValue : public CXMLSimpleObject {
 public:
  std::unique_ptr<CXMLObject> Clone() const override {
    auto copy = std::make_unique<Derived>();
    copy->Assign(*this);
    return copy;
  }
  std::unique_ptr<CXMLObject> Create() const override { return std::make_unique<Derived>(); }
  CXMLObject* Add(std::unique_ptr<CXMLObject>) override { return nullptr; }
  CXMLObject* GetItem(int) const override { return nullptr; }
  int Count() const override { return 0; }
  // Indicator, parent, name, present flag and value.
  void Assign(const CXMLObject& other) override {
    AssignDeclarationData(other);
    if (const auto* same = dynamic_cast<const Derived*>(&other); same != nullptr)
      static_cast<Derived&>(*this).value = same->value;
  }
};

class CXMLString : public CXMLValue<CXMLString> {
 public:
  bool FromString(const std::string& text) override {
    value = text;
    return true;
  }
  std::string ToString() const override { return value; }

  std::string value;
};

// Reads as atoi does (leading blanks, a sign, digits; 0 when there are
// none), without its overflow: out-of-range numbers stop at the type's ends.
class CXMLInteger : public CXMLValue<CXMLInteger> {
 public:
  bool FromString(const std::string& text) override;
  std::string ToString() const override;

  std::int32_t value = 0;
};

// As CXMLInteger; a negative number wraps as atoi's result would.
class CXMLUnsigned : public CXMLValue<CXMLUnsigned> {
 public:
  bool FromString(const std::string& text) override;
  std::string ToString() const override;

  std::uint32_t value = 0;
};

// Reads a decimal floating-point number after leading blanks (text that
// does not begin with one fails); writes "%f".
class CXMLDouble : public CXMLValue<CXMLDouble> {
 public:
  bool FromString(const std::string& text) override;
  std::string ToString() const override;

  double value = 0.0;
};

}  // namespace velinst
