// How the DOM references map onto Microsoft XML Core Services 6.0: each is
// the COM interface pointer itself (a BSTR for a text), owning one reference.
#pragma once

#include <windows.h>

#include <msxml2.h>
#include <oleauto.h>

#include <string>

#include "xml/dom.h"

namespace velinst::dom::com {

inline IXMLDOMDocument2* Of(DocumentObject* object) { return reinterpret_cast<IXMLDOMDocument2*>(object); }
inline IXMLDOMParseError* Of(ParseErrorObject* object) { return reinterpret_cast<IXMLDOMParseError*>(object); }
inline BSTR Of(TextObject* object) { return reinterpret_cast<BSTR>(object); }
inline IXMLDOMNode* Of(NodeObject* object) { return reinterpret_cast<IXMLDOMNode*>(object); }
inline IXMLDOMNodeList* Of(ListObject* object) { return reinterpret_cast<IXMLDOMNodeList*>(object); }
inline IXMLDOMNamedNodeMap* Of(MapObject* object) { return reinterpret_cast<IXMLDOMNamedNodeMap*>(object); }

template <typename Object, typename Interface>
Ref<Object> Adopt(Interface* pointer) {
  return Ref<Object>(reinterpret_cast<Object*>(pointer));
}

// A BSTR that frees itself.
class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(const wchar_t* text) : bstr_(::SysAllocString(text)) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { ::SysFreeString(bstr_); }
  BSTR get() const { return bstr_; }
  BSTR* put() {
    ::SysFreeString(bstr_);
    bstr_ = nullptr;
    return &bstr_;
  }

 private:
  BSTR bstr_ = nullptr;
};

// The BSTR in `code_page` (CP_ACP or CP_UTF8); characters the code page
// lacks become its default character.
std::string Narrow(BSTR text, UINT code_page);

}  // namespace velinst::dom::com
