// The host's parser document: a libxml2 tree with the settings and the parse
// error that the Windows parser keeps on its document object.
#pragma once

#include <libxml/tree.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "xml/dom.h"

namespace velinst::dom {

struct TreeDeleter {
  void operator()(xmlDoc* tree) const { xmlFreeDoc(tree); }
};
using UniqueTree = std::unique_ptr<xmlDoc, TreeDeleter>;

struct ParseErrorObject {
  std::int32_t code = 0;  // 0 after a load that parsed
  std::string reason;
};

struct DocumentObject {
  UniqueTree tree;
  bool prohibitDtd = false;
  // Prefix and URI of each declaration set through "SelectionNamespaces".
  std::vector<std::pair<std::string, std::string>> selectionNamespaces;
  ParseErrorObject error;
};

struct TextObject {
  std::string text;
};

namespace libxml {

// Parses `size` bytes into `document`'s tree, replacing what it held. With
// `forceUtf8` the bytes are UTF-8 whatever the document declares (text handed
// over in memory, as opposed to a file). Returns whether the document was
// read; otherwise its parse error is set.
bool ParseInto(DocumentObject& document, const char* data, std::size_t size, bool forceUtf8);

}  // namespace libxml
}  // namespace velinst::dom
