// Loading a 1 MiB answer of 5,000 records and visiting every element, text
// and attribute through the cursors, against libxml2 parsing and walking the
// same tree directly.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <string>
#include <vector>

#include "xml/document.h"

namespace {

constexpr int kRecords = 5000;
constexpr std::size_t kAnswerSize = 1024 * 1024;

// An indented list answer; a note in each record pads the whole to 1 MiB.
std::string MakeAnswer() {
  const std::string head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rsp status=\"ok\">\n <Accounts>\n";
  const std::string tail = " </Accounts>\n</rsp>\n";
  const std::string noteOpen = "   <Note>";
  const std::string noteClose = "</Note>\n  </Account>\n";
  std::vector<std::string> records;
  std::size_t used = head.size() + tail.size();
  for (int i = 0; i < kRecords; ++i) {
    char record[512];
    std::snprintf(record, sizeof record,
                  "  <Account Id=\"%d\" Kind=\"r\">\n"
                  "   <Name>Account %d</Name>\n"
                  "   <City>Springfield</City>\n"
                  "   <Zip>98%03d</Zip>\n"
                  "   <Email>c%d@example.com</Email>\n"
                  "   <Phone>555-%04d</Phone>\n",
                  i, i, i % 1000, i, i);
    records.emplace_back(record);
    used += records.back().size() + noteOpen.size() + noteClose.size();
  }
  const std::string note(used < kAnswerSize ? (kAnswerSize - used) / kRecords : 0, 'n');
  std::string answer = head;
  for (const std::string& record : records) answer += record + noteOpen + note + noteClose;
  return answer + tail;
}

const std::string& Answer() {
  static const std::string answer = MakeAnswer();
  return answer;
}

// Every element's name, its attributes' names and values, and the text of
// each field, as a list parser reads them.
std::size_t WalkCursors(velinst::CXMLNodeCursor& root) {
  std::size_t total = root.Name().size();
  velinst::CXMLNodeCursor* list = root.ChildCursor();
  if (list == nullptr) return total;
  total += list->Name().size();
  velinst::CXMLNodeCursor* record = list->ChildCursor();
  if (record == nullptr) return total;
  do {
    total += record->Name().size();
    if (velinst::CXMLAttributeCursor* attribute = record->AttributeCursor(); attribute != nullptr) {
      do total += attribute->Name().size() + attribute->Text().size();
      while (attribute->NextAttribute());
    }
    if (velinst::CXMLNodeCursor* field = record->ChildCursor(); field != nullptr) {
      do total += field->Name().size() + field->Text().size();
      while (field->NextSibling());
    }
  } while (record->NextSibling());
  return total;
}

void CursorsOverTheLibrary(benchmark::State& state) {
  const std::string& answer = Answer();
  velinst::CXMLDocument document;
  for (auto _ : state) {
    document.LoadText(answer.c_str());
    benchmark::DoNotOptimize(WalkCursors(*document.GetRoot()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * answer.size()));
}
BENCHMARK(CursorsOverTheLibrary)->Unit(benchmark::kMillisecond);

xmlNode* FirstElement(xmlNode* node) {
  while (node != nullptr && node->type != XML_ELEMENT_NODE) node = node->next;
  return node;
}

std::size_t ContentSize(xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  const std::size_t size = content != nullptr ? xmlStrlen(content) : 0;
  xmlFree(content);
  return size;
}

std::size_t WalkLibxml(xmlDoc* tree) {
  xmlNode* root = xmlDocGetRootElement(tree);
  std::size_t total = xmlStrlen(root->name);
  xmlNode* list = FirstElement(root->children);
  total += xmlStrlen(list->name);
  for (xmlNode* record = FirstElement(list->children); record != nullptr; record = FirstElement(record->next)) {
    total += xmlStrlen(record->name);
    for (xmlAttr* attribute = record->properties; attribute != nullptr; attribute = attribute->next)
      total += xmlStrlen(attribute->name) + ContentSize(reinterpret_cast<xmlNode*>(attribute));
    for (xmlNode* field = FirstElement(record->children); field != nullptr; field = FirstElement(field->next))
      total += xmlStrlen(field->name) + ContentSize(field);
  }
  return total;
}

void Baseline_LibxmlDirect(benchmark::State& state) {
  const std::string& answer = Answer();
  for (auto _ : state) {
    xmlDoc* tree = xmlReadMemory(answer.data(), static_cast<int>(answer.size()), nullptr, nullptr, 0);
    benchmark::DoNotOptimize(WalkLibxml(tree));
    xmlFreeDoc(tree);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * answer.size()));
}
BENCHMARK(Baseline_LibxmlDirect)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
