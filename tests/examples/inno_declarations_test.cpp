// The Inno Setup example declares every export by hand. A declaration that
// drifts from the header (a parameter too few, an output without `var`)
// crashes the installer at the customer's, so each one is read back and
// compared with the header's prototype.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum class Kind { IntegerIn, IntegerOut, TextIn, TextOut, Invalid };

struct Prototype {
  bool returnsValue = true;
  std::vector<Kind> parameters;
  bool operator==(const Prototype&) const = default;
};

using Prototypes = std::map<std::string, Prototype>;

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(Trimmed(part));
  return parts;
}

// A C parameter: `const char* name` is read, `char* name` written, `int* name` written.
Kind CParameterKind(const std::string& parameter) {
  const bool pointer = parameter.find('*') != std::string::npos;
  if (parameter.find("char") != std::string::npos) {
    if (!pointer) return Kind::Invalid;
    return parameter.rfind("const", 0) == 0 ? Kind::TextIn : Kind::TextOut;
  }
  if (parameter.find("int") != std::string::npos) return pointer ? Kind::IntegerOut : Kind::IntegerIn;
  return Kind::Invalid;
}

Prototypes HeaderPrototypes(const std::string& header) {
  Prototypes prototypes;
  static const std::regex declaration(R"((int|void)\s+VELAPI\s+(VEL_\w+)\s*\(([^)]*)\)\s*;)");
  for (std::sregex_iterator it(header.begin(), header.end(), declaration), end; it != end; ++it) {
    Prototype prototype;
    prototype.returnsValue = (*it)[1] == "int";
    const std::string list = Trimmed((*it)[3]);
    if (list != "void")
      for (const std::string& parameter : Split(list, ',')) prototype.parameters.push_back(CParameterKind(parameter));
    prototypes[(*it)[2]] = prototype;
  }
  return prototypes;
}

// A Pascal parameter group `[var] A, B: Type`. Written texts are AnsiStrings
// passed by value whose names end in "Out"; written integers are `var`.
void AppendPascalGroup(const std::string& group, std::vector<Kind>& kinds) {
  static const std::regex shape(R"(^(var\s+|const\s+)?([\w\s,]+?)\s*:\s*(\w+)$)", std::regex::icase);
  std::smatch match;
  if (!std::regex_match(group, match, shape)) return kinds.push_back(Kind::Invalid);
  const bool byReference = Trimmed(match[1]) == "var";
  const std::string type = match[3];
  for (const std::string& name : Split(match[2], ',')) {
    const bool outName = name.size() > 3 && name.compare(name.size() - 3, 3, "Out") == 0;
    if (type == "Integer" || type == "Cardinal")
      kinds.push_back(outName ? Kind::Invalid : byReference ? Kind::IntegerOut : Kind::IntegerIn);
    else if (type == "AnsiString" && !byReference)
      kinds.push_back(outName ? Kind::TextOut : Kind::TextIn);
    else
      kinds.push_back(Kind::Invalid);
  }
}

// Every `function|procedure VEL_x(...)[: Integer]; external 'VEL_x@files:velinst.dll stdcall';`.
// A declaration under another external name, calling convention or result type reads as Invalid.
Prototypes ScriptPrototypes(const std::string& script, std::vector<std::string>& faults) {
  Prototypes prototypes;
  static const std::regex declaration(
      R"((function|procedure)\s+(VEL_\w+)\s*(?:\(([^)]*)\))?\s*(?::\s*(\w+))?\s*;\s*external\s+'([^']*)'\s*;)",
      std::regex::icase);
  for (std::sregex_iterator it(script.begin(), script.end(), declaration), end; it != end; ++it) {
    const std::string name = (*it)[2];
    const bool isFunction = (*it)[1] == "function";
    if (isFunction != ((*it)[4] == "Integer")) faults.push_back(name + ": result type");
    if ((*it)[5] != name + "@files:velinst.dll stdcall")
      faults.push_back(name + ": external '" + std::string((*it)[5]) + "'");
    if (prototypes.count(name)) faults.push_back(name + ": declared twice");
    Prototype prototype;
    prototype.returnsValue = isFunction;
    const std::string list = Trimmed((*it)[3]);
    if (!list.empty())
      for (const std::string& group : Split(list, ';')) AppendPascalGroup(group, prototype.parameters);
    prototypes[name] = prototype;
  }
  return prototypes;
}

std::string Describe(const Prototype& prototype) {
  static const char* const names[] = {"integer in", "integer out", "text in", "text out", "INVALID"};
  std::string text = prototype.returnsValue ? "function(" : "procedure(";
  for (size_t i = 0; i < prototype.parameters.size(); ++i)
    text += std::string(i ? ", " : "") + names[static_cast<int>(prototype.parameters[i])];
  return text + ")";
}

// The faults of SCRIPT against HEADER, one line each.
std::vector<std::string> Mismatches(const std::string& header, const std::string& script) {
  std::vector<std::string> faults;
  const Prototypes expected = HeaderPrototypes(header);
  const Prototypes declared = ScriptPrototypes(script, faults);
  for (const auto& [name, prototype] : expected) {
    const auto found = declared.find(name);
    if (found == declared.end()) faults.push_back(name + ": not declared");
    if (found != declared.end() && !(found->second == prototype))
      faults.push_back(name + ": " + Describe(found->second) + " but the header has " + Describe(prototype));
  }
  for (const auto& [name, prototype] : declared)
    if (!expected.count(name)) faults.push_back(name + ": not in the header");
  return faults;
}

TEST(InnoDeclarations, EveryExportIsDeclaredAsTheHeaderHasIt) {
  const std::string header = ReadFile(VELINST_HEADER_PATH);
  size_t exportsInHeader = 0;
  for (size_t at = header.find("VELAPI VEL_"); at != std::string::npos; at = header.find("VELAPI VEL_", at + 1))
    ++exportsInHeader;
  ASSERT_GT(exportsInHeader, 0u);
  ASSERT_EQ(HeaderPrototypes(header).size(), exportsInHeader) << "a header declaration the reader does not parse";

  EXPECT_EQ(Mismatches(header, ReadFile(VELINST_INNO_SCRIPT_PATH)), std::vector<std::string>{});
}

}  // namespace
