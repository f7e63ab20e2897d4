// One parsed XML document, read through cursors.
//
// Loads raise their failures: the message goes into this object's CLastErr
// part and a pointer to that part is thrown (the catcher never deletes it).
// Lesser failures only leave a message there and return null or nothing.
// On Windows the calling thread must have initialised COM.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "errors/last_err.h"
#include "xml/dom.h"
#include "xml/node_cursor.h"

namespace velinst {

class CXMLObject;

class CXMLDocument : public CLastErr {
 public:
  CXMLDocument();
  CXMLDocument(const CXMLDocument&) = delete;
  CXMLDocument& operator=(const CXMLDocument&) = delete;
  ~CXMLDocument();

  // Each load first discards what the previous one left, and the cursors
  // handed out before it. Path and text are narrow, in the ANSI code page.
  void LoadFile(const char* path);
  void LoadText(const char* text);
  // Also drops the cursors handed out, which would outlive the document.
  void ReleaseDocument();

  // The document cursor on the root element. It belongs to this object and
  // stays valid until the next load.
  CXMLNodeCursor* GetRoot();
  // The document cursor in list mode on the nodes that `xpath` selects,
  // standing on the first; null when the query fails.
  CXMLNodeCursor* SelectNodes(const char* xpath);
  // Adds a prefix for XPath queries; every declaration added so far is set
  // again, each preceded by a space.
  void AddSelectionNamespace(const char* prefix, const char* uri);
  // Adds every "xmlns:" declaration found anywhere in the document.
  void RegisterNamespaces();
  // Zero prohibits a document type declaration, non-zero allows it.
  void SetProhibitDTD(int flag);
  // Notes the parser's error for `document` (or `fallback`) and returns its code.
  std::int32_t ReportParseError(dom::DocumentObject* document, const char* fallback);

  // Loads, then reads `object` from the root element (whose name it takes).
  void ReadObjectFromFile(CXMLObject& object, const char* path);
  void ReadObjectFromText(CXMLObject& object, const char* text);

  // The error of the last failed parse: its code (0 when none) and reason.
  std::int32_t ParseErrorCode() const;
  std::string ParseErrorReason() const;
  // The declarations set through "SelectionNamespaces".
  const std::string& SelectionNamespaces() const { return namespaces_; }
  dom::DocumentObject* Document() const { return document_.get(); }

 private:
  template <typename Loader>
  void Load(const char* argument, Loader load, bool keepArgument, const char* loadFailed, const char* parseFailed);
  void DropCursors();

  dom::Ref<dom::DocumentObject> document_;
  dom::Ref<dom::ParseErrorObject> parseError_;
  dom::Ref<dom::TextObject> loadArgument_;
  dom::Ref<dom::NodeObject> root_;
  std::unique_ptr<CXMLNodeCursor> documentCursor_;
  std::string namespaces_;
};

}  // namespace velinst
