#include "creg/import_diagnostic.h"

#include <cstdio>

namespace velinst {

void ReportImportFailure(const char* condition, const char* detail) {
  std::printf("ImportRegFile: %s%s%s\n", condition, detail != nullptr ? ": " : "", detail != nullptr ? detail : "");
  std::fflush(stdout);
}

}  // namespace velinst
