#include "packlist/cell_code.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "packlist/scale_table.h"
#include "packlist/text_scan.h"

namespace velinst::packlist {
namespace {

// printf's "%0<width>d": the sign counts towards the width.
void AppendPadded(CodeText& code, int value, int width) {
  char digits[12];
  int count = 0;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) {
    code.text[code.length++] = '-';
    --width;
  }
  for (int pad = width - count; pad > 0; --pad) code.text[code.length++] = '0';
  while (count > 0) code.text[code.length++] = digits[--count];
}

void AppendChar(CodeText& code, char c) { code.text[code.length++] = c; }

// A cell code field is terminated within its size; never read past it.
std::string_view CodeView(const char* cellCode) {
  const void* end = std::memchr(cellCode, '\0', kCellCodeSize);
  return {cellCode,
          end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - cellCode) : kCellCodeSize};
}

}  // namespace

CodeText FormatCellCode(int latitude, int longitude, char row, int column) {
  CodeText code;
  AppendPadded(code, latitude, 2);
  AppendPadded(code, longitude, 3);
  AppendChar(code, row);
  AppendPadded(code, column, 1);
  return code;
}

CodeText FormatBlockCell(std::string_view block, char row, int column) {
  CodeText code;
  code.length = std::min(block.size(), kCodeBufferSize - 14);
  std::memcpy(code.text, block.data(), code.length);
  AppendChar(code, row);
  AppendPadded(code, column, 1);
  return code;
}

CodeText ShortForm(const char* cellCode) {
  const std::string_view code = CodeView(cellCode);
  CodeText form;
  for (std::size_t position : {0, 1, 2, 3, 4, 6, 7})
    if (position < code.size()) AppendChar(form, code[position]);
  return form;
}

std::string_view BlockOf(const char* cellCode) { return CodeView(cellCode).substr(0, 5); }

CodeText WesternBlock(const char* cellCode) {
  const std::string_view code = CodeView(cellCode);
  CodeText block;
  for (std::size_t position = 0; position < 2 && position < code.size(); ++position) AppendChar(block, code[position]);
  AppendPadded(block, CodeNumber(cellCode, 2, 3) + 1, 3);
  return block;
}

int CodeNumber(const char* cellCode, std::size_t offset, std::size_t count) {
  const std::string_view code = CodeView(cellCode);
  std::string_view digits = offset < code.size() ? code.substr(offset, count) : std::string_view();
  return ScanInt(digits).value_or(0);
}

}  // namespace velinst::packlist
