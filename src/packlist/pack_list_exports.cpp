// The pack-list exports: the 1:24,000 list under its two names and the
// 1:100,000 list.
#include "errors/export_guard.h"
#include "packlist/pack_list_100k.h"
#include "packlist/pack_list_24k.h"
#include "packlist/pack_list_export.h"
#include "velinst.h"

namespace {

using velinst::GuardedExport;
using velinst::packlist::kPackListFailed;
using velinst::packlist::MakePackList;
using velinst::packlist::PackListFamily;

constexpr PackListFamily kQuadrangleList{velinst::packlist::WritePackList24K, false};
constexpr PackListFamily kHundredThousandList{velinst::packlist::WritePackList100K, true};

}  // namespace

extern "C" {

VELINST_EXPORT int VELAPI VEL_MakePackList24K(const char* regionPath, const char* listPath, int scale) {
  return GuardedExport(kPackListFailed, [&] { return MakePackList(regionPath, listPath, scale, kQuadrangleList); });
}

VELINST_EXPORT int VELAPI VEL_MakePackList(const char* regionPath, const char* listPath, int scale) {
  return VEL_MakePackList24K(regionPath, listPath, scale);
}

VELINST_EXPORT int VELAPI VEL_MakePackList100K(const char* regionPath, const char* listPath, int scale) {
  return GuardedExport(kPackListFailed,
                       [&] { return MakePackList(regionPath, listPath, scale, kHundredThousandList); });
}

}  // extern "C"
