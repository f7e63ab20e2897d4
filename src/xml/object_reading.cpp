// Reading an object tree straight from a file or a text.
#include "xml/document.h"
#include "xml/object_model.h"

namespace velinst {

namespace {

void ReadFromRoot(CXMLDocument& document, CXMLObject& object) {
  CXMLNodeCursor& root = *document.GetRoot();
  object.ReadAttributes(root);
  object.Read(root);
}

}  // namespace

void CXMLDocument::ReadObjectFromFile(CXMLObject& object, const char* path) {
  LoadFile(path);
  ReadFromRoot(*this, object);
}

void CXMLDocument::ReadObjectFromText(CXMLObject& object, const char* text) {
  LoadText(text);
  ReadFromRoot(*this, object);
}

}  // namespace velinst
