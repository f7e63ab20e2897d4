// What the XML tests share: a document on a thread that may use the parser,
// and the text of a raised error.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "test_support.h"
#include "xml/document.h"

namespace velinst::test {

class XmlTest : public ::testing::Test {
 protected:
  // Loads `text`, failing the test if it does not parse.
  CXMLNodeCursor& Load(const std::string& text) {
    try {
      document_.LoadText(text.c_str());
    } catch (CLastErr* error) {
      ADD_FAILURE() << "load failed: " << Message(*error) << "\n" << text;
    }
    return *document_.GetRoot();
  }

  static std::string Message(const CLastErr& error) {
    const char* text = nullptr;
    return error.GetText(text) ? text : "";
  }

  // The message `action` raises through a CLastErr pointer, or "(nothing)".
  static std::string Raised(const std::function<void()>& action) {
    try {
      action();
    } catch (CLastErr* error) {
      return Message(*error);
    }
    return "(nothing)";
  }

  // Attribute names and texts of the cursor's node.
  static std::map<std::string, std::string> AttributesOf(CXMLNodeCursor& cursor) {
    std::map<std::string, std::string> attributes;
    if (CXMLAttributeCursor* attribute = cursor.AttributeCursor(); attribute != nullptr) {
      do attributes[attribute->Name()] = attribute->Text();
      while (attribute->NextAttribute());
    }
    return attributes;
  }

  ComApartment com_;
  CXMLDocument document_;
};

}  // namespace velinst::test
