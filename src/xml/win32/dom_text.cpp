// Names, texts and markup of MSXML 6 nodes, turned from UTF-16 into narrow
// text: names and texts in the ANSI code page, markup in UTF-8.
#include <windows.h>

#include <msxml2.h>
#include <oleauto.h>

#include "xml/dom.h"
#include "xml/win32/com_objects.h"

namespace velinst::dom {

namespace com {

std::string Narrow(BSTR text, UINT code_page) {
  const int units = static_cast<int>(::SysStringLen(text));
  if (units == 0) return std::string();
  const int bytes = ::WideCharToMultiByte(code_page, 0, text, units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(code_page, 0, text, units, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

}  // namespace com

namespace {

using Getter = HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*)(BSTR*);

Status Read(NodeObject* node, Getter getter, UINT code_page, std::string& out) {
  if (node == nullptr) return kFail;
  com::UniqueBstr text;
  const HRESULT result = (com::Of(node)->*getter)(text.put());
  if (FAILED(result)) return result;
  out = com::Narrow(text.get(), code_page);
  return result;
}

}  // namespace

// A name with characters that the ANSI code page lacks shows them as its
// default character, as a text does.
Status Name(NodeObject* node, std::string& name) { return Read(node, &IXMLDOMNode::get_nodeName, CP_ACP, name); }
Status Text(NodeObject* node, std::string& text) { return Read(node, &IXMLDOMNode::get_text, CP_ACP, text); }
Status Xml(NodeObject* node, std::string& markup) { return Read(node, &IXMLDOMNode::get_xml, CP_UTF8, markup); }

}  // namespace velinst::dom
