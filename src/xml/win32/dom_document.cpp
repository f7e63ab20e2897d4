// The parser document on Windows: an MSXML 6 DOMDocument60 through COM.
// The caller has initialised COM on the thread.
#include <windows.h>

#include <msxml2.h>
#include <oleauto.h>

#include "xml/dom.h"
#include "xml/win32/com_objects.h"

namespace velinst::dom {

namespace {

// Declared here: the mingw headers lack both.
// {88D96A05-F192-11D4-A65F-0040963251E5}
constexpr CLSID kClsidDomDocument60 = {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
// {2933BF95-7B36-11D2-B20E-00C04F983E60}
constexpr IID kIidXmlDomDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

HRESULT SetProperty(IXMLDOMDocument2* document, const wchar_t* name, const VARIANT& value) {
  com::UniqueBstr property(name);
  if (property.get() == nullptr) return E_OUTOFMEMORY;
  return document->setProperty(property.get(), value);
}

HRESULT SetIntegerProperty(IXMLDOMDocument2* document, const wchar_t* name, LONG value) {
  VARIANT variant;
  ::VariantInit(&variant);
  variant.vt = VT_I4;
  variant.lVal = value;
  return SetProperty(document, name, variant);
}

}  // namespace

void Release(DocumentObject* object) noexcept {
  if (object != nullptr) com::Of(object)->Release();
}

void Release(TextObject* object) noexcept { ::SysFreeString(com::Of(object)); }

Status CreateDocument(Ref<DocumentObject>& document) {
  IXMLDOMDocument2* created = nullptr;
  const HRESULT result = ::CoCreateInstance(kClsidDomDocument60, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument2,
                                            reinterpret_cast<void**>(&created));
  if (FAILED(result)) return result;
  document = com::Adopt<DocumentObject>(created);
  created->put_async(VARIANT_FALSE);
  created->put_validateOnParse(VARIANT_FALSE);
  created->put_resolveExternals(VARIANT_FALSE);
  // MSXML 6's own limits. Wine's MSXML refuses both properties; its parser
  // keeps a depth limit of its own.
  SetIntegerProperty(created, L"MaxElementDepth", kMaxElementDepth);
  SetIntegerProperty(created, L"MaxXMLSize", kMaxDocumentKiloChars);
  return kOk;
}

Status SetProhibitDtd(DocumentObject* document, bool prohibit) {
  if (document == nullptr) return kFail;
  VARIANT variant;
  ::VariantInit(&variant);
  variant.vt = VT_BOOL;
  variant.boolVal = prohibit ? VARIANT_TRUE : VARIANT_FALSE;
  return SetProperty(com::Of(document), L"ProhibitDTD", variant);
}

Status SetSelectionNamespaces(DocumentObject* document, TextObject* declarations) {
  if (document == nullptr) return kFail;
  VARIANT variant;
  ::VariantInit(&variant);
  variant.vt = VT_BSTR;
  variant.bstrVal = com::Of(declarations);  // lent, not cleared
  return SetProperty(com::Of(document), L"SelectionNamespaces", variant);
}

Status DocumentElement(DocumentObject* document, Ref<NodeObject>& element) {
  element.reset();
  if (document == nullptr) return kFail;
  IXMLDOMElement* root = nullptr;
  const HRESULT result = com::Of(document)->get_documentElement(&root);
  element = com::Adopt<NodeObject>(static_cast<IXMLDOMNode*>(root));
  return result;
}

Status SelectNodes(DocumentObject* document, TextObject* expression, Ref<ListObject>& list) {
  list.reset();
  if (document == nullptr) return kFail;
  IXMLDOMNodeList* found = nullptr;
  const HRESULT result = com::Of(document)->selectNodes(com::Of(expression), &found);
  list = com::Adopt<ListObject>(found);
  return result;
}

Status MakeText(const char* narrow, Ref<TextObject>& text) {
  text.reset();
  if (narrow == nullptr) narrow = "";
  const int units = ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
  BSTR converted = ::SysAllocStringLen(nullptr, units > 0 ? static_cast<UINT>(units - 1) : 0);
  if (converted == nullptr) return kOutOfMemory;
  if (units > 0) ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, converted, units);
  text = com::Adopt<TextObject>(converted);
  return kOk;
}

}  // namespace velinst::dom
