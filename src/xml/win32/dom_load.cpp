// Loading on Windows: MSXML 6 reads the file or text, within the limits set
// when the document was created.
#include <windows.h>

#include <msxml2.h>
#include <oleauto.h>

#include "xml/dom.h"
#include "xml/win32/com_objects.h"

namespace velinst::dom {

Status Load(DocumentObject* document, TextObject* path, bool& parsed) {
  parsed = false;
  if (document == nullptr) return kFail;
  VARIANT source;
  ::VariantInit(&source);
  source.vt = VT_BSTR;
  source.bstrVal = com::Of(path);  // lent, not cleared
  VARIANT_BOOL success = VARIANT_FALSE;
  const HRESULT result = com::Of(document)->load(source, &success);
  if (FAILED(result)) return result;
  parsed = success == VARIANT_TRUE;
  return kOk;
}

Status LoadXml(DocumentObject* document, TextObject* text, bool& parsed) {
  parsed = false;
  if (document == nullptr) return kFail;
  VARIANT_BOOL success = VARIANT_FALSE;
  const HRESULT result = com::Of(document)->loadXML(com::Of(text), &success);
  if (FAILED(result)) return result;
  parsed = success == VARIANT_TRUE;
  return kOk;
}

void Release(ParseErrorObject* object) noexcept {
  if (object != nullptr) com::Of(object)->Release();
}

Status GetParseError(DocumentObject* document, Ref<ParseErrorObject>& error) {
  error.reset();
  if (document == nullptr) return kFail;
  IXMLDOMParseError* fetched = nullptr;
  const HRESULT result = com::Of(document)->get_parseError(&fetched);
  error = com::Adopt<ParseErrorObject>(fetched);
  if (SUCCEEDED(result) && fetched == nullptr) return kFail;
  return result;
}

Status ErrorCode(ParseErrorObject* error, std::int32_t& code) {
  if (error == nullptr) return kFail;
  long value = 0;
  const HRESULT result = com::Of(error)->get_errorCode(&value);
  if (SUCCEEDED(result)) code = static_cast<std::int32_t>(value);
  return result;
}

Status ErrorReason(ParseErrorObject* error, std::string& reason) {
  if (error == nullptr) return kFail;
  com::UniqueBstr text;
  const HRESULT result = com::Of(error)->get_reason(text.put());
  if (SUCCEEDED(result)) reason = com::Narrow(text.get(), CP_ACP);
  return result;
}

}  // namespace velinst::dom
