// The DOM parser behind CXMLDocument and its cursors: Microsoft XML Core
// Services 6.0 on Windows, libxml2 on the host. This header is the whole of
// what the portable code may ask of it; each platform answers in
// xml/<platform>/dom_*.cpp.
//
// Every call reports an HRESULT-style status: kOk, kFalse when the call
// worked but there is nothing to hand out (no child, no list), a negative
// value on failure. Objects come back as owned references (Ref) that release
// themselves.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace velinst::dom {

using Status = std::int32_t;
inline constexpr Status kOk = 0;
inline constexpr Status kFalse = 1;
inline constexpr Status kFail = static_cast<Status>(0x80004005);
inline constexpr Status kOutOfMemory = static_cast<Status>(0x8007000E);
inline constexpr bool Succeeded(Status status) { return status >= 0; }

// Limits that keep a hostile answer from exhausting the process: element
// nesting, and the document's size in blocks of 1024 characters.
inline constexpr std::int32_t kMaxElementDepth = 256;
inline constexpr std::int32_t kMaxDocumentKiloChars = 32 * 1024;

// What the parser keeps behind each kind of reference; only the platform's
// files look inside.
struct DocumentObject;    // a parser document with its settings
struct ParseErrorObject;  // the error of a failed load
struct TextObject;        // a narrow argument in the parser's own string form
struct NodeObject;        // any node: element, text, attribute, document...
struct ListObject;        // the result of an XPath query
struct MapObject;         // the attributes of one node

void Release(DocumentObject* object) noexcept;
void Release(ParseErrorObject* object) noexcept;
void Release(TextObject* object) noexcept;
void Release(NodeObject* object) noexcept;
void Release(ListObject* object) noexcept;
void Release(MapObject* object) noexcept;
void Retain(NodeObject* object) noexcept;

// An owned reference. Only node references can be copied.
template <typename T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* adopted) : object_(adopted) {}
  Ref(const Ref& other) : object_(other.object_) {
    if (object_ != nullptr) Retain(object_);
  }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Ref& operator=(Ref other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Ref() { reset(); }

  T* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  void reset() noexcept {
    if (object_ != nullptr) Release(std::exchange(object_, nullptr));
  }

 private:
  T* object_ = nullptr;
};

// Document. CreateDocument makes a document that loads synchronously,
// neither validates nor resolves external resources, and carries the
// library's limits on depth and size.
Status CreateDocument(Ref<DocumentObject>& document);
Status SetProhibitDtd(DocumentObject* document, bool prohibit);
Status SetSelectionNamespaces(DocumentObject* document, TextObject* declarations);
// `parsed` tells whether the document was read; a load that could not parse
// succeeds with parsed false and leaves a parse error.
Status Load(DocumentObject* document, TextObject* path, bool& parsed);
Status LoadXml(DocumentObject* document, TextObject* text, bool& parsed);
Status GetParseError(DocumentObject* document, Ref<ParseErrorObject>& error);
Status ErrorCode(ParseErrorObject* error, std::int32_t& code);
Status ErrorReason(ParseErrorObject* error, std::string& reason);
Status DocumentElement(DocumentObject* document, Ref<NodeObject>& element);
Status SelectNodes(DocumentObject* document, TextObject* expression, Ref<ListObject>& list);

// Converts a narrow text in the ANSI code page (UTF-8 on the host); fails
// only with kOutOfMemory.
Status MakeText(const char* narrow, Ref<TextObject>& text);

// Nodes. Moves give kFalse and a null reference when there is no such node.
Status FirstChild(NodeObject* node, Ref<NodeObject>& child);
Status Parent(NodeObject* node, Ref<NodeObject>& parent);
Status NextSibling(NodeObject* node, Ref<NodeObject>& sibling);
Status PreviousSibling(NodeObject* node, Ref<NodeObject>& sibling);
Status Attributes(NodeObject* node, Ref<MapObject>& attributes);
// The node's name and text in the ANSI code page; its markup in UTF-8.
Status Name(NodeObject* node, std::string& name);
Status Text(NodeObject* node, std::string& text);
Status Xml(NodeObject* node, std::string& markup);

Status Length(MapObject* attributes, std::int32_t& length);
Status Item(MapObject* attributes, std::int32_t index, Ref<NodeObject>& item);
Status Length(ListObject* list, std::int32_t& length);
Status Item(ListObject* list, std::int32_t index, Ref<NodeObject>& item);

}  // namespace velinst::dom
