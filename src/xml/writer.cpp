#include "xml/writer.h"

#include "xml/escape.h"

namespace velinst {

void CXMLWriter::WriteEscaped(std::string_view text) { Write(AttributeText(text)); }

CXMLFileWriter::CXMLFileWriter(const char* path) : file_(path != nullptr ? std::fopen(path, "w") : nullptr) {}

void CXMLFileWriter::Write(std::string_view text) {
  if (!file_ || failed_) return;
  if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) failed_ = true;
}

bool CXMLFileWriter::Close() {
  if (!file_) return false;
  const bool closed = std::fclose(file_.release()) == 0;
  return closed && !failed_;
}

}  // namespace velinst
