// The Inno Setup example declares every export by hand. A declaration that
// drifts from the header (a parameter too few, an output without `var`)
// crashes the installer at the customer's, so each one is read back and
// compared with the header's prototype.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

// A prototype as text: "function(" or "procedure(", then one letter per
// parameter (i integer read, I integer written, t text read, T text written,
// ? none of these), then ")".
using Prototypes = std::map<std::string, std::string>;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);)
    if (!Trimmed(part).empty()) parts.push_back(Trimmed(part));
  return parts;
}

// `const char* name` is read, `char* name` and `int* name` written.
char CParameterKind(const std::string& parameter) {
  const bool pointer = parameter.find('*') != std::string::npos;
  if (parameter.find("char") != std::string::npos) return !pointer ? '?' : parameter.rfind("const", 0) == 0 ? 't' : 'T';
  if (parameter.find("int") != std::string::npos) return pointer ? 'I' : 'i';
  return '?';
}

Prototypes HeaderPrototypes(const std::string& header) {
  Prototypes prototypes;
  static const std::regex declaration(R"((int|void)\s+VELAPI\s+(VEL_\w+)\s*\(([^)]*)\)\s*;)");
  for (std::sregex_iterator it(header.begin(), header.end(), declaration), end; it != end; ++it) {
    std::string kinds;
    if (Trimmed((*it)[3]) != "void")
      for (const std::string& parameter : Split((*it)[3], ',')) kinds += CParameterKind(parameter);
    prototypes[(*it)[2]] = ((*it)[1] == "int" ? "function(" : "procedure(") + kinds + ")";
  }
  return prototypes;
}

// A Pascal parameter group `[var] A, B: Type`. Written texts are AnsiStrings
// passed by value whose names end in "Out"; written integers are `var`.
std::string PascalGroupKinds(const std::string& group) {
  static const std::regex shape(R"(^(var\s+|const\s+)?([\w\s,]+?)\s*:\s*(\w+)$)", std::regex::icase);
  std::smatch match;
  if (!std::regex_match(group, match, shape)) return "?";
  const bool byReference = Trimmed(match[1]) == "var";
  const std::string type = match[3];
  std::string kinds;
  for (const std::string& name : Split(match[2], ',')) {
    const bool outName = name.size() > 3 && name.compare(name.size() - 3, 3, "Out") == 0;
    if (type == "Integer" || type == "Cardinal")
      kinds += outName ? '?' : byReference ? 'I' : 'i';
    else
      kinds += type != "AnsiString" || byReference ? '?' : outName ? 'T' : 't';
  }
  return kinds;
}

// Every `function|procedure VEL_x(...)[: Integer]; external 'VEL_x@files:velinst.dll stdcall';`.
// Another external name, calling convention or result type is a fault.
Prototypes ScriptPrototypes(const std::string& script, std::vector<std::string>& faults) {
  Prototypes prototypes;
  static const std::regex declaration(
      R"((function|procedure)\s+(VEL_\w+)\s*(?:\(([^)]*)\))?\s*(?::\s*(\w+))?\s*;\s*external\s+'([^']*)'\s*;)",
      std::regex::icase);
  for (std::sregex_iterator it(script.begin(), script.end(), declaration), end; it != end; ++it) {
    const std::string name = (*it)[2], kind = (*it)[1];
    if ((kind == "function") != ((*it)[4] == "Integer")) faults.push_back(name + ": result type");
    if ((*it)[5] != name + "@files:velinst.dll stdcall") faults.push_back(name + ": external '" + (*it)[5].str() + "'");
    if (prototypes.count(name)) faults.push_back(name + ": declared twice");
    std::string kinds;
    for (const std::string& group : Split((*it)[3], ';')) kinds += PascalGroupKinds(group);
    prototypes[name] = kind + "(" + kinds + ")";
  }
  return prototypes;
}

TEST(InnoDeclarations, EveryExportIsDeclaredAsTheHeaderHasIt) {
  const std::string header = velinst::test::ReadWholeFile(VELINST_HEADER_PATH);
  std::vector<std::string> faults;
  const Prototypes expected = HeaderPrototypes(header);
  Prototypes declared = ScriptPrototypes(velinst::test::ReadWholeFile(VELINST_INNO_SCRIPT_PATH), faults);
  const std::regex anyExport("VELAPI VEL_");
  const auto exportsInHeader = std::distance(std::sregex_iterator(header.begin(), header.end(), anyExport), {});
  ASSERT_GT(exportsInHeader, 0);
  ASSERT_EQ(static_cast<long>(expected.size()), exportsInHeader) << "a header declaration the reader does not parse";
  for (const auto& [name, prototype] : expected)
    if (declared[name] != prototype)
      faults.push_back(name + ": '" + declared[name] + "' but the header has " + prototype);
  for (const auto& [name, prototype] : declared)
    if (!expected.count(name)) faults.push_back(name + ": not in the header");
  EXPECT_EQ(faults, std::vector<std::string>{});
}

}  // namespace
