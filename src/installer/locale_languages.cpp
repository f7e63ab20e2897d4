// POSIX locale names mapped to the language identifiers of the name table,
// for systems that describe their language by locale. A row without a
// country gives the language's default sublanguage.
#include <algorithm>
#include <cctype>

#include "installer/language.h"

namespace velinst {

namespace {

// Sorted by name for the binary search.
constexpr LocaleLanguage kLocales[] = {
    {"af", 0x0436},          {"af_ZA", 0x0436},
    {"ar", 0x0401},          {"ar_AE", 0x3801},
    {"ar_BH", 0x3c01},       {"ar_DZ", 0x1401},
    {"ar_EG", 0x0c01},       {"ar_IQ", 0x0801},
    {"ar_JO", 0x2c01},       {"ar_KW", 0x3401},
    {"ar_LB", 0x3001},       {"ar_LY", 0x1001},
    {"ar_MA", 0x1801},       {"ar_OM", 0x2001},
    {"ar_QA", 0x4001},       {"ar_SA", 0x0401},
    {"ar_SY", 0x2801},       {"ar_TN", 0x1c01},
    {"ar_YE", 0x2401},       {"az", 0x042c},
    {"az_AZ", 0x042c},       {"az_AZ@cyrillic", 0x082c},
    {"be", 0x0423},          {"be_BY", 0x0423},
    {"bg", 0x0402},          {"bg_BG", 0x0402},
    {"ca", 0x0403},          {"ca_ES", 0x0403},
    {"cs", 0x0405},          {"cs_CZ", 0x0405},
    {"da", 0x0406},          {"da_DK", 0x0406},
    {"de", 0x0407},          {"de_AT", 0x0c07},
    {"de_CH", 0x0807},       {"de_DE", 0x0407},
    {"de_LI", 0x1407},       {"de_LU", 0x1007},
    {"dv", 0x0465},          {"dv_MV", 0x0465},
    {"el", 0x0408},          {"el_GR", 0x0408},
    {"en", 0x0409},          {"en_AG", 0x2409},
    {"en_AU", 0x0c09},       {"en_BZ", 0x2809},
    {"en_CA", 0x1009},       {"en_GB", 0x0809},
    {"en_IE", 0x1809},       {"en_JM", 0x2009},
    {"en_NZ", 0x1409},       {"en_PH", 0x3409},
    {"en_TT", 0x2c09},       {"en_US", 0x0409},
    {"en_ZA", 0x1c09},       {"en_ZW", 0x3009},
    {"es", 0x040a},          {"es_AR", 0x2c0a},
    {"es_BO", 0x400a},       {"es_CL", 0x340a},
    {"es_CO", 0x240a},       {"es_CR", 0x140a},
    {"es_DO", 0x1c0a},       {"es_EC", 0x300a},
    {"es_ES", 0x0c0a},       {"es_GT", 0x100a},
    {"es_HN", 0x480a},       {"es_MX", 0x080a},
    {"es_NI", 0x4c0a},       {"es_PA", 0x180a},
    {"es_PE", 0x280a},       {"es_PR", 0x500a},
    {"es_PY", 0x3c0a},       {"es_SV", 0x440a},
    {"es_UY", 0x380a},       {"es_VE", 0x200a},
    {"et", 0x0425},          {"et_EE", 0x0425},
    {"eu", 0x042d},          {"eu_ES", 0x042d},
    {"fa", 0x0429},          {"fa_IR", 0x0429},
    {"fi", 0x040b},          {"fi_FI", 0x040b},
    {"fo", 0x0438},          {"fo_FO", 0x0438},
    {"fr", 0x040c},          {"fr_BE", 0x080c},
    {"fr_CA", 0x0c0c},       {"fr_CH", 0x100c},
    {"fr_FR", 0x040c},       {"fr_LU", 0x140c},
    {"fr_MC", 0x180c},       {"gl", 0x0456},
    {"gl_ES", 0x0456},       {"gu", 0x0447},
    {"gu_IN", 0x0447},       {"he", 0x040d},
    {"he_IL", 0x040d},       {"hi", 0x0439},
    {"hi_IN", 0x0439},       {"hr", 0x041a},
    {"hr_HR", 0x041a},       {"hu", 0x040e},
    {"hu_HU", 0x040e},       {"hy", 0x042b},
    {"hy_AM", 0x042b},       {"id", 0x0421},
    {"id_ID", 0x0421},       {"is", 0x040f},
    {"is_IS", 0x040f},       {"it", 0x0410},
    {"it_CH", 0x0810},       {"it_IT", 0x0410},
    {"iw", 0x040d},          {"ja", 0x0411},
    {"ja_JP", 0x0411},       {"ka", 0x0437},
    {"ka_GE", 0x0437},       {"kn", 0x044b},
    {"kn_IN", 0x044b},       {"ko", 0x0412},
    {"ko_KR", 0x0412},       {"kok", 0x0457},
    {"kok_IN", 0x0457},      {"ky", 0x0440},
    {"ky_KG", 0x0440},       {"lt", 0x0427},
    {"lt_LT", 0x0427},       {"lv", 0x0426},
    {"lv_LV", 0x0426},       {"mk", 0x042f},
    {"mk_MK", 0x042f},       {"mn", 0x0450},
    {"mn_MN", 0x0450},       {"mr", 0x044e},
    {"mr_IN", 0x044e},       {"ms", 0x043e},
    {"ms_BN", 0x083e},       {"ms_MY", 0x043e},
    {"my", 0x0455},          {"my_MM", 0x0455},
    {"nb", 0x0414},          {"nb_NO", 0x0414},
    {"nl", 0x0413},          {"nl_BE", 0x0813},
    {"nl_NL", 0x0413},       {"nn", 0x0814},
    {"nn_NO", 0x0814},       {"no", 0x0414},
    {"no_NO", 0x0414},       {"pa", 0x0446},
    {"pa_IN", 0x0446},       {"pl", 0x0415},
    {"pl_PL", 0x0415},       {"pt", 0x0416},
    {"pt_BR", 0x0416},       {"pt_PT", 0x0816},
    {"ro", 0x0418},          {"ro_RO", 0x0418},
    {"ru", 0x0419},          {"ru_RU", 0x0419},
    {"sa", 0x044f},          {"sa_IN", 0x044f},
    {"sk", 0x041b},          {"sk_SK", 0x041b},
    {"sl", 0x0424},          {"sl_SI", 0x0424},
    {"sq", 0x041c},          {"sq_AL", 0x041c},
    {"sr", 0x0c1a},          {"sr_RS", 0x0c1a},
    {"sr_RS@latin", 0x081a}, {"st", 0x0430},
    {"st_ZA", 0x0430},       {"sv", 0x041d},
    {"sv_FI", 0x081d},       {"sv_SE", 0x041d},
    {"sw", 0x0441},          {"sw_KE", 0x0441},
    {"syr", 0x045a},         {"syr_SY", 0x045a},
    {"ta", 0x0449},          {"ta_IN", 0x0449},
    {"te", 0x044a},          {"te_IN", 0x044a},
    {"th", 0x041e},          {"th_TH", 0x041e},
    {"tr", 0x041f},          {"tr_TR", 0x041f},
    {"tt", 0x0444},          {"tt_RU", 0x0444},
    {"uk", 0x0422},          {"uk_UA", 0x0422},
    {"ur", 0x0420},          {"ur_IN", 0x0820},
    {"ur_PK", 0x0420},       {"uz", 0x0443},
    {"uz_UZ", 0x0443},       {"uz_UZ@cyrillic", 0x0843},
    {"vi", 0x042a},          {"vi_VN", 0x042a},
    {"zh", 0x0804},          {"zh_CN", 0x0804},
    {"zh_HK", 0x0c04},       {"zh_MO", 0x1404},
    {"zh_SG", 0x1004},       {"zh_TW", 0x0404},
};

constexpr bool LessByName(const LocaleLanguage& a, const LocaleLanguage& b) { return a.locale < b.locale; }
static_assert(std::is_sorted(std::begin(kLocales), std::end(kLocales), LessByName));

const LocaleLanguage* FindLocale(std::string_view name) {
  const LocaleLanguage key{name, 0};
  const auto row = std::lower_bound(std::begin(kLocales), std::end(kLocales), key, LessByName);
  return row != std::end(kLocales) && row->locale == name ? row : nullptr;
}

}  // namespace

std::span<const LocaleLanguage> LocaleLanguages() { return kLocales; }

LanguageId LanguageFromLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier]
  const std::size_t at = locale.find('@');
  const std::string_view modifier = at == std::string_view::npos ? std::string_view() : locale.substr(at + 1);
  std::string_view base = locale.substr(0, at);
  base = base.substr(0, base.find('.'));
  const std::size_t underscore = base.find('_');
  std::string language(base.substr(0, underscore));
  std::string territory(underscore == std::string_view::npos ? std::string_view() : base.substr(underscore + 1));
  for (char& c : language) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : territory) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (language.empty() || language == "c" || language == "posix") return kEnglishUnitedStates;

  std::string name = language;
  if (!territory.empty()) {
    name += '_';
    name += territory;
    if (!modifier.empty()) {
      if (const LocaleLanguage* row = FindLocale(name + '@' + std::string(modifier))) return row->id;
    }
    if (const LocaleLanguage* row = FindLocale(name)) return row->id;
  }
  if (const LocaleLanguage* row = FindLocale(language)) return row->id;
  return kEnglishUnitedStates;
}

namespace {

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The value of a shell assignment: a quoted value loses its quotes, an
// unquoted one ends at the first blank.
std::string_view AssignedValue(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')) {
    const std::size_t close = value.find(value.front(), 1);
    if (close != std::string_view::npos) return value.substr(1, close - 1);
  }
  return value.substr(0, value.find_first_of(" \t"));
}

}  // namespace

std::string LocaleFromConfigText(std::string_view text) {
  std::string_view lang;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.starts_with("export ") || line.starts_with("export\t")) line = Trim(line.substr(7));
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trim(line.substr(0, equals)) != "LANG") continue;
    lang = AssignedValue(line.substr(equals + 1));
  }
  return std::string(lang);
}

std::string DefaultLocaleName(const std::vector<std::string>& configTexts, const char* environmentLang) {
  for (const std::string& text : configTexts) {
    std::string locale = LocaleFromConfigText(text);
    if (!locale.empty()) return locale;
  }
  return environmentLang != nullptr ? environmentLang : "";
}

}  // namespace velinst
