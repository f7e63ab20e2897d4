// Where the object model writes its XML: a string or a file.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace velinst {

class CXMLWriter {
 public:
  CXMLWriter() = default;
  CXMLWriter(const CXMLWriter&) = delete;
  CXMLWriter& operator=(const CXMLWriter&) = delete;
  virtual ~CXMLWriter() = default;

  virtual void Write(std::string_view text) = 0;
  // An attribute value: & < and " escaped, so that the markup stays
  // well-formed.
  void WriteEscaped(std::string_view text);
};

class CXMLStringWriter : public CXMLWriter {
 public:
  void Write(std::string_view text) override { text_ += text; }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Writes a text file (line feeds become the platform's line ends).
class CXMLFileWriter : public CXMLWriter {
 public:
  explicit CXMLFileWriter(const char* path);
  void Write(std::string_view text) override;
  bool IsOpen() const { return file_ != nullptr; }
  // Closes the file; false when it could not be opened or a write failed.
  bool Close();

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  bool failed_ = false;
};

}  // namespace velinst
