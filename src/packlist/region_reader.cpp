// Reads a region file into the scale info table.
//
// Layout: a header (title, a second line, the format version; comment and
// blank lines; four lines not interpreted; the number of scale entries), then
// each scale entry (comment and blank lines; the scale line; a line of four
// reals; a line of four integers; the reference cell; one blank line or two
// rectangle lines; comment and blank lines; the sheet list). Within a sheet
// list "//" lines are comments, digit-led lines are sheets and any other line
// ends the list; the last sheet line of a list is never a sheet.
#include "packlist/region_reader.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "packlist/line_cursor.h"
#include "packlist/text_scan.h"

namespace velinst::packlist {
namespace {

constexpr int kDefaultEntryCount = 2;  // when the count line is blank
constexpr std::size_t kVersionFieldLength = 14;
// Cell sizes when the scale line gives none: longitude by latitude.
constexpr double kFirstEntryCellSize[2] = {0.125, 0.125};
constexpr double kLaterEntryCellSize[2] = {1.0, 0.5};
// Before this format version longitudes were written from 0 to 360.
constexpr double kSignedLongitudeVersion = 2.0;

bool IsBlank(std::string_view line) { return line.empty(); }
bool IsComment(std::string_view line) { return !line.empty() && line.front() == '/'; }
bool IsListComment(std::string_view line) { return line.size() >= 2 && line[0] == '/' && line[1] == '/'; }
bool IsSheetLine(std::string_view line) { return !line.empty() && line.front() >= '0' && line.front() <= '9'; }

// Thrown inside the parser; becomes a kLayout result.
struct LayoutBreak {
  RegionReadResult result;
};

// A scale code of 1000 or more is the denominator; a smaller one counts
// thousands, except the codes of the series drawn to inch-based scales.
std::int32_t DenominatorOfCode(std::int32_t code) {
  if (code >= 1000) return code;
  switch (code) {
    case 31:
      return 31680;
    case 62:
      return 62500;
    case 63:
      return 63360;
    case 332:
      return 232188;
    default:
      break;
  }
  const std::int64_t thousands = std::int64_t{code} * 1000;
  return thousands < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(thousands);
}

// A written longitude of the 0 to 360 form, west negative.
double SignedLongitude(double longitude) { return longitude < 180.0 ? longitude : longitude - 360.0; }

bool OnGlobe(const SheetRecord& sheet) {
  const auto latitude = [](double v) { return std::isfinite(v) && std::fabs(v) <= 90.0; };
  const auto longitude = [](double v) { return std::isfinite(v) && std::fabs(v) <= 360.0; };
  return latitude(sheet.south) && latitude(sheet.north) && longitude(sheet.east) && longitude(sheet.west);
}

// Four reals: optional blanks, then numbers separated by commas that blanks
// may follow.
bool ScanRectangle(std::string_view text, double (&values)[4]) {
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (text.empty() || text.front() != ',') return false;
      text.remove_prefix(1);
    }
    const std::optional<double> value = ScanReal(text);
    if (!value) return false;
    values[i] = *value;
  }
  return true;
}

class RegionParser {
 public:
  RegionParser(std::string_view text, ScaleInfoTable& table) : lines_(text), table_(table) {}

  void Parse() {
    ReadHeader();
    for (std::int32_t index = 0; index < entryCount_; ++index) ReadEntry(index);
  }

 private:
  [[gnu::format(printf, 2, 3)]] [[noreturn]] static void Break(int line, const char* format, ...) {
    LayoutBreak error;
    error.result.fault = RegionFault::kLayout;
    error.result.line = line;
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(error.result.problem, sizeof error.result.problem, format, arguments);
    va_end(arguments);
    throw error;
  }

  void CheckLength(std::string_view line) const {
    if (line.size() > kMaxLineLength)
      Break(lines_.LineNumber(), "a line longer than %d characters", static_cast<int>(kMaxLineLength));
  }

  // The next line, which the layout requires; `missing` says what the end of
  // the file cut short.
  std::string_view RequiredLine(const char* missing) {
    std::string_view line;
    if (!lines_.Next(line)) Break(lines_.LineNumber() + 1, "%s", missing);
    CheckLength(line);
    return line;
  }

  // Passes over comment and blank lines; the next line read is the first
  // other one. False at the end of the file.
  bool SkipCommentsAndBlanks() {
    for (;;) {
      const LineCursor::Position before = lines_.Tell();
      std::string_view line;
      if (!lines_.Next(line)) return false;
      if (!IsComment(line) && !IsBlank(line)) {
        lines_.Seek(before);
        return true;
      }
      CheckLength(line);
    }
  }

  void ReadHeader() {
    static constexpr const char kShortHeader[] = "the file ends before its header is complete";
    RequiredLine(kShortHeader);  // the region's title
    RequiredLine(kShortHeader);
    std::string_view version = RequiredLine(kShortHeader).substr(0, kVersionFieldLength);
    formatVersion_ = ScanReal(version).value_or(0.0);
    if (!SkipCommentsAndBlanks()) Break(lines_.LineNumber() + 1, "%s", kShortHeader);
    for (int i = 0; i < 4; ++i) RequiredLine(kShortHeader);  // not interpreted
    std::string_view count = RequiredLine(kShortHeader);
    entryCount_ = IsBlank(count) ? kDefaultEntryCount : ScanInt(count).value_or(0);
  }

  void ReadEntry(std::int32_t index) {
    if (!SkipCommentsAndBlanks())
      Break(lines_.LineNumber() + 1, "%d scale entries announced, the file ends after %d", entryCount_, index);
    char shortEntry[80];
    std::snprintf(shortEntry, sizeof shortEntry, "the file ends before the sheet list of scale entry %d begins",
                  static_cast<int>(index) + 1);
    // Entries are allocated as they are read, never from the announced count.
    ScaleEntry& entry = table_.entries.emplace_back();
    entry.formatVersion = formatVersion_;
    ReadScaleLine(RequiredLine(shortEntry), index == 0, entry);
    RequiredLine(shortEntry);                                          // four reals
    RequiredLine(shortEntry);                                          // four integers
    RequiredLine(shortEntry);                                          // the reference cell
    if (!IsBlank(RequiredLine(shortEntry))) RequiredLine(shortEntry);  // the second rectangle line
    if (!SkipCommentsAndBlanks()) Break(lines_.LineNumber() + 1, "%s", shortEntry);
    ReadSheetList(entry);
  }

  // "code, "name"[, longitude cell size, latitude cell size]", split as
  // strtok splits it: at least one character stands between the comma and
  // the opening quote.
  static void ReadScaleLine(std::string_view line, bool first, ScaleEntry& entry) {
    Tokens tokens(line);
    std::string_view code = tokens.Next(",").value_or(std::string_view());
    entry.denominator = DenominatorOfCode(ScanInt(code).value_or(0));
    std::optional<std::string_view> name;
    if (tokens.Next("\"")) name = tokens.Next("\"");
    CopyField(name.value_or(std::string_view()), entry.scaleName);
    std::optional<std::string_view> longitudeSize;
    if (name) longitudeSize = tokens.Next(",");
    if (!longitudeSize) {
      const double* sizes = first ? kFirstEntryCellSize : kLaterEntryCellSize;
      entry.longitudeCellSize = sizes[0];
      entry.latitudeCellSize = sizes[1];
      return;
    }
    entry.longitudeCellSize = ScanReal(*longitudeSize).value_or(0.0);
    std::string_view latitudeSize = tokens.Next(",").value_or(std::string_view());
    entry.latitudeCellSize = ScanReal(latitudeSize).value_or(0.0);
  }

  void ReadSheetList(ScaleEntry& entry) {
    // Counting pass: the list ends at a line that is neither a "//" comment
    // nor a sheet line, or at the end of the file.
    const LineCursor::Position start = lines_.Tell();
    std::size_t sheetLines = 0;
    std::string_view line;
    while (lines_.Next(line)) {
      if (IsListComment(line)) {
        CheckLength(line);
      } else if (IsSheetLine(line)) {
        ++sheetLines;
      } else {
        CheckLength(line);
        break;
      }
    }
    const LineCursor::Position after = lines_.Tell();

    // The last sheet line closes the list and is never a sheet.
    std::size_t taken = sheetLines > 0 ? sheetLines - 1 : 0;
    entry.primary.reserve(taken + 1);  // set-aside sheets are rare: room is not worth a second count
    lines_.Seek(start);
    while (taken > 0 && lines_.Next(line)) {
      if (IsListComment(line)) continue;
      CheckLength(line);
      ReadSheet(line, entry);
      --taken;
    }
    entry.primary.emplace_back();  // the end record
    lines_.Seek(after);
  }

  // flags, "cell code", "description"[, south, east, north, west]
  void ReadSheet(std::string_view line, ScaleEntry& entry) const {
    const std::int32_t flags = ReadFlags(line);
    SheetRecord& sheet = (flags & kSetAsideFlag) != 0 ? entry.setAside.emplace_back() : entry.primary.emplace_back();
    sheet.flags = flags;
    std::size_t quotes[4];
    std::size_t from = 0;
    for (std::size_t& quote : quotes) {
      quote = line.find('"', from);
      if (quote == std::string_view::npos) Break(lines_.LineNumber(), "a sheet line without its four double quotes");
      from = quote + 1;
    }
    CopyField(line.substr(quotes[0] + 1, quotes[1] - quotes[0] - 1), sheet.cellCode);
    sheet.description = line.substr(quotes[2] + 1, std::min(quotes[3] - quotes[2] - 1, kDescriptionLength));
    if (!sheet.IsRectangle()) return;

    // The character after the fourth quote (normally a comma) is passed over.
    const std::string_view numbers = line.substr(std::min(quotes[3] + 2, line.size()));
    double values[4];
    if (!ScanRectangle(numbers, values)) Break(lines_.LineNumber(), "a rectangle sheet without four numbers");
    sheet.south = values[0];
    sheet.east = values[1];
    sheet.north = values[2];
    sheet.west = values[3];
    if (!OnGlobe(sheet)) Break(lines_.LineNumber(), "a rectangle coordinate that is not finite or lies off the globe");
    if (formatVersion_ < kSignedLongitudeVersion) {
      sheet.east = SignedLongitude(sheet.east);
      sheet.west = SignedLongitude(sheet.west);
    }
  }

  static std::int32_t ReadFlags(std::string_view line) { return ScanInt(line).value_or(0); }

  LineCursor lines_;
  ScaleInfoTable& table_;
  double formatVersion_ = 0.0;
  std::int32_t entryCount_ = 0;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file, or false when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::unique_ptr<char[]>& text, std::size_t& size) {
  if (path == nullptr) return false;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return false;
  // The size is a hint only: the file is read to its end whatever it said,
  // and a hint beyond any region file (a folder's, on some file systems) is
  // not believed.
  constexpr long kLargestHint = 1L << 26;
  std::size_t capacity = 1 << 16;
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long hint = std::ftell(file.get());
    if (hint > 0 && hint < kLargestHint) capacity = static_cast<std::size_t>(hint) + 1;
    std::rewind(file.get());
  }
  text.reset(new char[capacity]);
  size = 0;
  for (;;) {
    size += std::fread(text.get() + size, 1, capacity - size, file.get());
    if (size < capacity) break;
    const std::size_t larger_capacity = NextCapacity(capacity);
    if (larger_capacity == 0) throw std::bad_alloc();
    std::unique_ptr<char[]> larger(new char[larger_capacity]);
    std::memcpy(larger.get(), text.get(), size);
    text = std::move(larger);
    capacity = larger_capacity;
  }
  return std::ferror(file.get()) == 0;
}

}  // namespace

std::size_t NextCapacity(std::size_t capacity, std::size_t limit) {
  if (capacity == 0 || capacity > limit / 2) return 0;
  return capacity * 2;
}

RegionReadResult ParseRegion(std::unique_ptr<char[]> text, std::size_t size, ScaleInfoTable& table) {
  RegionReadResult result;
  table.text = std::move(text);
  try {
    RegionParser(std::string_view(table.text.get(), size), table).Parse();
  } catch (const LayoutBreak& error) {
    result = error.result;
  } catch (const std::bad_alloc&) {
    result.fault = RegionFault::kAllocation;
  }
  if (result.fault != RegionFault::kNone) table = ScaleInfoTable();
  return result;
}

RegionReadResult ParseRegion(std::string_view text, ScaleInfoTable& table) {
  std::unique_ptr<char[]> copy;
  try {
    copy.reset(new char[text.size()]);
  } catch (const std::bad_alloc&) {
    RegionReadResult result;
    result.fault = RegionFault::kAllocation;
    return result;
  }
  if (!text.empty()) std::memcpy(copy.get(), text.data(), text.size());  // an empty view may have no data
  return ParseRegion(std::move(copy), text.size(), table);
}

RegionReadResult ReadRegionFile(const char* path, ScaleInfoTable& table) {
  RegionReadResult result;
  std::unique_ptr<char[]> text;
  std::size_t size = 0;
  try {
    if (!ReadWholeFile(path, text, size)) result.fault = RegionFault::kCannotOpen;
  } catch (const std::bad_alloc&) {
    result.fault = RegionFault::kAllocation;
  }
  return result.fault != RegionFault::kNone ? result : ParseRegion(std::move(text), size, table);
}

void PrintRegionFault(const char* path, const RegionReadResult& result) {
  if (path == nullptr) path = "";
  switch (result.fault) {
    case RegionFault::kNone:
      return;
    case RegionFault::kCannotOpen:
      std::printf("cannot open file '%s' for input\n", path);
      break;
    case RegionFault::kAllocation:
      std::printf("scale info table allocation error\n");
      break;
    case RegionFault::kLayout:
      std::printf("region file '%s', line %d: %s\n", path, result.line, result.problem);
      break;
  }
  std::fflush(stdout);
}

}  // namespace velinst::packlist
