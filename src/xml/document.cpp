#include "xml/document.h"

#include <utility>

namespace velinst {

namespace {

constexpr char kOutOfMemory[] = "Out of memory";

}  // namespace

CXMLDocument::CXMLDocument() = default;

CXMLDocument::~CXMLDocument() { DropCursors(); }

void CXMLDocument::DropCursors() {
  documentCursor_.reset();
  root_.reset();
}

void CXMLDocument::ReleaseDocument() {
  DropCursors();
  document_.reset();
  parseError_.reset();
  loadArgument_.reset();
}

template <typename Loader>
void CXMLDocument::Load(const char* argument, Loader load, bool keepArgument, const char* loadFailed,
                        const char* parseFailed) {
  ReleaseDocument();
  Reset();
  if (dom::CreateDocument(document_) != dom::kOk || !document_) {
    document_.reset();
    RaiseText("Failed to initialize XML parsing engine");
  }
  // Documents with a document type declaration are accepted.
  if (!dom::Succeeded(dom::SetProhibitDtd(document_.get(), false))) RaiseText("Cannot set ProhibitDTD Property");
  dom::Ref<dom::TextObject> converted;
  if (dom::MakeText(argument, converted) != dom::kOk) RaiseText(kOutOfMemory);
  if (keepArgument) loadArgument_ = std::move(converted);
  dom::TextObject* source = keepArgument ? loadArgument_.get() : converted.get();
  bool parsed = false;
  if (!dom::Succeeded(load(document_.get(), source, parsed))) RaiseText(loadFailed);
  if (parsed) return;
  if (dom::GetParseError(document_.get(), parseError_) != dom::kOk || !parseError_) {
    parseError_.reset();
    RaiseText("Failed to load file (3)");
  }
  std::string reason;
  if (!dom::Succeeded(dom::ErrorReason(parseError_.get(), reason))) RaiseText("Failed to load file (4)");
  RaiseText(parseFailed);
}

void CXMLDocument::LoadFile(const char* path) {
  Load(path, dom::Load, true, "Failed to load file (1)", "Parsing error loading file (1)");
}

void CXMLDocument::LoadText(const char* text) {
  Load(text, dom::LoadXml, false, "Failed to load XML (1)", "Parsing error loading file (2)");
}

CXMLNodeCursor* CXMLDocument::GetRoot() {
  if (!root_) {
    if (!document_ || dom::DocumentElement(document_.get(), root_) != dom::kOk || !root_) {
      root_.reset();
      SetText("Failed to find root node");
    }
  }
  if (!documentCursor_) documentCursor_ = std::make_unique<CXMLNodeCursor>();
  documentCursor_->StartAt(root_);
  return documentCursor_.get();
}

CXMLNodeCursor* CXMLDocument::SelectNodes(const char* xpath) {
  dom::Ref<dom::TextObject> expression;
  if (dom::MakeText(xpath, expression) != dom::kOk) RaiseText(kOutOfMemory);
  dom::Ref<dom::ListObject> list;
  const dom::Status status = document_ ? dom::SelectNodes(document_.get(), expression.get(), list) : dom::kFail;
  constexpr char kQueryFailed[] = "Error while calling selectNodes.";
  if (!dom::Succeeded(status)) {
    ReportParseError(document_.get(), kQueryFailed);
    SetText("Cannot locate file section (1)");
    return nullptr;
  }
  if (!list) {
    ReportParseError(document_.get(), kQueryFailed);
    return nullptr;
  }
  if (!documentCursor_) documentCursor_ = std::make_unique<CXMLNodeCursor>();
  documentCursor_->BeginList(std::move(list));
  return documentCursor_.get();
}

std::int32_t CXMLDocument::ReportParseError(dom::DocumentObject* document, const char* fallback) {
  std::int32_t code = dom::kFail;
  dom::Ref<dom::ParseErrorObject> error;
  std::string reason;
  if (document == nullptr || dom::GetParseError(document, error) != dom::kOk || !error)
    SetText("Failed to load file (6)");
  else if (!dom::Succeeded(dom::ErrorCode(error.get(), code)))
    SetText("Failed to load file (7)");
  else if (!dom::Succeeded(dom::ErrorReason(error.get(), reason)))
    SetText("Failed to load file (8)");
  else
    SetText(fallback);
  return code;
}

void CXMLDocument::AddSelectionNamespace(const char* prefix, const char* uri) {
  namespaces_ += " xmlns:";
  namespaces_ += prefix != nullptr ? prefix : "";
  namespaces_ += "=\"";
  namespaces_ += uri != nullptr ? uri : "";
  namespaces_ += '"';
  dom::Ref<dom::TextObject> declarations;
  if (dom::MakeText(namespaces_.c_str(), declarations) != dom::kOk) RaiseText(kOutOfMemory);
  if (!document_ || !dom::Succeeded(dom::SetSelectionNamespaces(document_.get(), declarations.get())))
    RaiseText("Cannot parse file");
}

void CXMLDocument::RegisterNamespaces() {
  // The walk takes a cursor of its own; the document cursor is put back as it
  // was, whatever happens.
  struct SavedCursor {
    std::unique_ptr<CXMLNodeCursor>& slot;
    std::unique_ptr<CXMLNodeCursor> saved;
    ~SavedCursor() { slot = std::move(saved); }
  } saved{documentCursor_, std::move(documentCursor_)};
  CXMLNodeCursor* walker = GetRoot();
  constexpr char kDeclaration[] = "xmlns:";
  do {
    CXMLAttributeCursor* attributes = walker->AttributeCursor();
    if (attributes == nullptr) continue;
    do {
      const std::string name = attributes->Name();
      const std::size_t at = name.find(kDeclaration);
      if (at != std::string::npos)
        AddSelectionNamespace(name.c_str() + at + sizeof kDeclaration - 1, attributes->Text().c_str());
    } while (attributes->NextAttribute());
  } while (walker->Next());
}

void CXMLDocument::SetProhibitDTD(int flag) {
  if (!document_ || !dom::Succeeded(dom::SetProhibitDtd(document_.get(), flag == 0)))
    RaiseText("Cannot set ProhibitDTD Property");
}

std::int32_t CXMLDocument::ParseErrorCode() const {
  std::int32_t code = 0;
  if (parseError_) dom::ErrorCode(parseError_.get(), code);
  return code;
}

std::string CXMLDocument::ParseErrorReason() const {
  std::string reason;
  if (parseError_) dom::ErrorReason(parseError_.get(), reason);
  return reason;
}

}  // namespace velinst
