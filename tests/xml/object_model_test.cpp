// Declared object trees: reading with sequence, choice and all orders, and
// writing them back.
#include "xml/object_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "xml/typed_values.h"
#include "xml/writer.h"
#include "xml_test_support.h"

namespace velinst::test {
namespace {

// A complex element that keeps the items of a repeating declaration: each
// is a new Derived, declared by its constructor.
template <typename Derived>
class Repeating : public CXMLComplexObject {
 public:
  std::unique_ptr<CXMLObject> Clone() const override {
    auto copy = std::make_unique<Derived>();
    copy->Assign(*this);
    return copy;
  }
  std::unique_ptr<CXMLObject> Create() const override { return std::make_unique<Derived>(); }
  CXMLObject* Add(std::unique_ptr<CXMLObject> item) override {
    items.push_back(std::move(item));
    return items.back().get();
  }
  CXMLObject* GetItem(int index) const override { return items.at(static_cast<std::size_t>(index)).get(); }
  int Count() const override { return static_cast<int>(items.size()); }
  void Assign(const CXMLObject& other) override { AssignDeclarationData(other); }

  std::vector<std::unique_ptr<CXMLObject>> items;
};

// <r> with children a (required), b (optional) and c (required), in the
// order `order`.
class Abc : public Repeating<Abc> {
 public:
  explicit Abc(std::int32_t order = kSequence) {
    SetOrder(order);
    DeclareElement("a", a, 1, 1);
    DeclareElement("b", b, 0, 1);
    DeclareElement("c", c, 1, 1);
  }
  std::string Read() const { return a.value + "," + b.value + "," + c.value; }
  CXMLString a, b, c;
};

class Entry : public Repeating<Entry> {
 public:
  Entry() {
    SetOrder(kSequence);
    DeclareAttribute("key", key, 1, 1);
    DeclareElement("value", value, 1, 1);
  }
  CXMLString key;
  CXMLInteger value;
};

// <order id=".." note=".."><entry>*<total/></order>
class Order : public Repeating<Order> {
 public:
  Order() {
    SetOrder(kSequence);
    DeclareAttribute("id", id, 1, 1);
    DeclareAttribute("note", note, 0, 1);
    DeclareElement("entry", entries, 0, kUnbounded);
    DeclareElement("total", total, 0, 1);
  }
  CXMLUnsigned id;
  CXMLString note;
  Entry entries;
  CXMLDouble total;
};

void Set(CXMLObject& field, const char* text) {
  field.FromString(text);
  field.SetPresent(true);
}

std::string Written(const CXMLObject& object, int indent = -1) {  // a negative indent: the whole document
  CXMLStringWriter writer;
  if (indent < 0)
    object.WriteDocument(writer);
  else
    object.WriteElement(writer, indent);
  return writer.Text();
}

class ObjectModel : public XmlTest {
 protected:
  // Reads `xml` into `object`; returns the message thrown by value, or "".
  std::string ReadInto(CXMLObject& object, const std::string& xml) {
    try {
      document_.ReadObjectFromText(object, xml.c_str());
    } catch (const CLastErr& error) {
      return Message(error);
    }
    return "";
  }
};

TEST_F(ObjectModel, EachOrderMatchesChildrenItsOwnWay) {
  const struct {
    std::int32_t order;
    const char* xml;
    const char* error;
    const char* read;     // the a, b and c values read
    const char* ignored;  // what is reported on the standard output, or null not to look
  } cases[] = {
      {CXMLIndicator::kSequence, "<r><a>1</a><c>3</c></r>", "", "1,,3", nullptr},
      {CXMLIndicator::kSequence, "<r><A>1</A><b>2</b><C>3</C></r>", "", "1,2,3", nullptr},
      {CXMLIndicator::kSequence, "<r><a>1</a><b>2</b><c>3</c><d>4</d></r>", "Sequence error -- element not found: d",
       "1,2,3", nullptr},
      {CXMLIndicator::kSequence, "<r><c>3</c></r>", "Sequence error -- missing element", ",,", nullptr},
      {CXMLIndicator::kAll, "<r><c>3</c><A>1</A><b>2</b></r>", "", ",2,3", "Ignoring element: 'A'\n"},
      {CXMLIndicator::kChoice, "<r><x/><b>2</b><a>1</a></r>", "", ",2,", "Ignoring element: 'x'\n"},
  };
  for (const auto& c : cases) {
    Abc abc(c.order);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(ReadInto(abc, c.xml), c.error) << c.xml;
    const std::string output = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, c.ignored != nullptr ? c.ignored : output) << c.xml;
    EXPECT_EQ(abc.Read(), c.read) << c.xml;
  }
  // "Any" matches every element of a sequence.
  class Anything : public Repeating<Anything> {
   public:
    Anything() {
      SetOrder(kSequence);
      DeclareElement(kAnyElement, any, 0, kUnbounded);
    }
    CXMLString any;
  } anything;
  EXPECT_EQ(ReadInto(anything, "<r><x>1</x><y>2</y></r>") + anything.GetName(), "r");
}

TEST_F(ObjectModel, ReadsAttributesRepeatingChildrenAndNumbers) {
  Order order;
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ReadInto(order,
                     "<order xmlns:p='urn:p' id='42' other='x'><entry key='a'><value>1</value></entry>"
                     "<entry key='b'><value> -7 </value></entry><total>2.5</total></order>"),
            "");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Ignoring attribute: 'other' (in element order)\n");
  EXPECT_FALSE(order.note.IsPresent());
  ASSERT_EQ(order.entries.Count(), 2);
  const auto& second = static_cast<const Entry&>(*order.entries.GetItem(1));
  EXPECT_EQ(order.GetName() + std::to_string(order.id.value) + " " + second.key.value + "=" +
                std::to_string(second.value.value) + " " + order.total.ToString(),
            "order42 b=-7 2.500000");
  EXPECT_EQ(order.NamespaceDeclarations(), (std::vector<std::pair<std::string, std::string>>{{"xmlns:p", "urn:p"}}));

  Order nested;
  EXPECT_EQ(ReadInto(nested, "<order id='1'><entry><value>1</value></entry></order>"),
            "Missing required attribute: key");
}

TEST_F(ObjectModel, WritesSpecialCharactersSafely) {
  Order order;
  order.SetName("order");
  Set(order.id, "1");
  Set(order.note, "a<b & \"c\"");
  Entry* entry = static_cast<Entry*>(order.MarkElement("ENTRY"));
  ASSERT_NE(entry, nullptr);
  Set(entry->key, "k]]>&");
  Set(entry->value, "5");
  const std::string text = Written(order);
  EXPECT_EQ(text,
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<order id=\"1\" note=\"a&lt;b &amp; &quot;c&quot;\">\n"
            "    <ENTRY key=\"k]]>&amp;\">\n"
            "        <value>5</value>\n"
            "    </ENTRY>\n"
            "</order>\n");
  // Through a file and back.
  TempDir dir;
  CXMLFileWriter file(dir.File("order.xml").c_str());
  ASSERT_TRUE(file.IsOpen());
  order.WriteDocument(file);
  ASSERT_TRUE(file.Close());
  Order read;
  document_.ReadObjectFromFile(read, dir.File("order.xml").c_str());
  EXPECT_EQ(read.note.value, "a<b & \"c\"");
  EXPECT_EQ(Written(read), text);
  EXPECT_FALSE(CXMLFileWriter(dir.File("no/such/folder.xml").c_str()).IsOpen());
}

TEST_F(ObjectModel, InlineElementKeepsItsTextOnItsLineOthersIndent) {
  class Labelled : public Repeating<Labelled> {
   public:
    Labelled() {
      SetInline(true);
      SetOrder(kSequence);
      DeclareAttribute("lang", lang, 0, 1);
      DeclareElement("#text", text, 0, 1);
    }
    CXMLString lang, text;
  } labelled;
  EXPECT_EQ(ReadInto(labelled, "<label lang='en'>Hello</label>"), "");
  EXPECT_EQ(labelled.text.value, "Hello");
  EXPECT_EQ(Written(labelled, 0), "<label lang=\"en\">Hello</label>\n");
  Abc abc;
  abc.SetName("r");
  Set(abc.a, "x");
  EXPECT_TRUE(abc.IsPresent()) << "marking a child marks its ancestors";
  EXPECT_EQ(Written(abc, 1), "  <r>\n      <a>x</a>\n  </r>\n");
}

TEST(XmlValues, NumbersReadAsAtoiWithoutOverflow) {
  const struct {
    const char* text;
    std::int32_t integer;
    std::uint32_t unsignedValue;
  } cases[] = {
      {"  -7xyz", -7, 4294967289u},
      {"abc", 0, 0},
      {"99999999999", std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::uint32_t>::max()},
      {"-99999999999", std::numeric_limits<std::int32_t>::min(), 2147483648u},
      {"4294967295", std::numeric_limits<std::int32_t>::max(), 4294967295u},
  };
  for (const auto& c : cases) {
    CXMLInteger integer;
    CXMLUnsigned unsignedValue;
    EXPECT_TRUE(integer.FromString(c.text) && unsignedValue.FromString(c.text));
    EXPECT_EQ(std::pair(integer.value, unsignedValue.value), std::pair(c.integer, c.unsignedValue)) << c.text;
  }
}

TEST(XmlValues, NumbersAreWrittenInFullAndDoublesReadOrFail) {
  CXMLInteger integer;
  CXMLUnsigned unsignedValue;
  CXMLDouble real;
  integer.value = std::numeric_limits<std::int32_t>::min();
  unsignedValue.value = std::numeric_limits<std::uint32_t>::max();
  EXPECT_TRUE(real.FromString(" -123456789.125e0 units"));
  EXPECT_EQ(integer.ToString() + " " + unsignedValue.ToString() + " " + real.ToString(),
            "-2147483648 4294967295 -123456789.125000");
  EXPECT_FALSE(real.FromString("north") || real.FromString(""));
  CXMLStringWriter writer;
  real.WriteContent(writer, 0);
  EXPECT_EQ(writer.Text(), "<![CDATA[<NULL>]]>");
}

}  // namespace
}  // namespace velinst::test
