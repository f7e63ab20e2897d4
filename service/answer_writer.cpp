#include "answer_writer.h"

#include <cmath>
#include <cstdio>

#include "text_form.h"

namespace velinst::service {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string Escaped(std::string_view storedText) { return EscapeMarkup(XmlCharacters(storedText)); }

}  // namespace

void AnswerWriter::StartTag(std::string_view name) {
  body_ += '<';
  body_ += name;
}

void AnswerWriter::AttributeText(std::string_view name, std::string_view storedText) {
  body_ += ' ';
  body_ += name;
  body_ += "=\"";
  body_ += Escaped(storedText);
  body_ += '"';
}

void AnswerWriter::Element(std::string_view name, std::string_view storedText) {
  StartTag(name);
  body_ += '>';
  body_ += Escaped(storedText);
  body_ += "</";
  body_ += name;
  body_ += '>';
}

void AnswerWriter::Element(std::string_view name, std::int64_t value) { Element(name, std::to_string(value)); }

void AnswerWriter::Open(std::string_view name, std::initializer_list<AnswerAttribute> attributes) {
  StartTag(name);
  for (const AnswerAttribute& attribute : attributes) AttributeText(attribute.name, attribute.storedText);
  body_ += '>';
  open_.emplace_back(name);
}

void AnswerWriter::Close() {
  if (open_.empty()) return;
  body_ += "</";
  body_ += open_.back();
  body_ += '>';
  open_.pop_back();
}

void AnswerWriter::Empty(std::string_view name, std::initializer_list<AnswerAttribute> attributes) {
  StartTag(name);
  for (const AnswerAttribute& attribute : attributes) AttributeText(attribute.name, attribute.storedText);
  body_ += "/>";
}

std::string AnswerWriter::Finish() {
  while (!open_.empty()) Close();
  std::string document(kDeclaration);
  document += "<rsp status=\"ok\">";
  document += body_;
  document += "</rsp>";
  return document;
}

std::string ErrorAnswer(std::string_view type, std::string_view message) {
  std::string document(kDeclaration);
  document += "<rsp status=\"err\"><err type=\"";
  document += EscapeMarkup(XmlCharacters(type));
  document += "\" msg=\"";
  document += EscapeMarkup(XmlCharacters(message));
  document += "\"/></rsp>";
  return document;
}

std::string RealText(double value, int decimals) {
  if (!std::isfinite(value)) value = 0;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace velinst::service
