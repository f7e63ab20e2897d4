#include "webclient/server_error.h"

#include "platform/ascii_text.h"
#include "webclient/result_code.h"

namespace velinst {

namespace {

struct ServerErrorType {
  const char* name;
  std::int32_t code;
};

// Codes 18 to 25 are not used by the service.
constexpr ServerErrorType kServerErrorTypes[] = {
    {"TrailmarkEmailLoginException", 5},
    {"TrailmarkPhoneNumberLoginException", 6},
    {"TrailmarkUnknownLoginException", 7},
    {"AuthTokenIPAddressException", 8},
    {"BrannockAccountException", 9},
    {"ContentLengthMissmatchException", 10},
    {"DuplicateDisplayNameException", 11},
    {"DuplicateEmailAddressException", 12},
    {"DuplicatePhoneNumberException", 13},
    {"DuplicateUsernameException", 14},
    {"DuplicateValueException", 15},
    {"EmailAddressFormatException", 16},
    {"ExpiredAuthTokenException", kRKExpiredAuthToken},
    {"IncorrectPasswordException", 26},
    {"InvalidAuthTokenException", 27},
    {"InvalidCredentialsException", 28},
    {"MediaToPoiException", 29},
    {"MissingCapabilityException", 30},
    {"MissingParameterException", 31},
    {"NotAuthorizedException", 32},
    {"ParameterException", 33},
    {"ParameterOutOfRangeException", 34},
    {"PasswordFormatException", 35},
    {"PhoneNumberFormatException", 36},
    {"RecordNotFoundException", kRKRecordNotFound},
    {"RequestException", 38},
    {"RequestTooLargeException", 39},
    {"SearchAreaTooLargeException", 40},
    {"HalvardException", 41},
    {"UsernameFormatException", 42},
};

}  // namespace

std::int32_t ServerErrorCode(std::string_view type) {
  for (const ServerErrorType& entry : kServerErrorTypes)
    if (EqualIgnoringAsciiCase(type, entry.name)) return entry.code;
  return kRKUnknownServerError;
}

void CRKErr::Parse(CXMLNodeCursor& cursor) {
  CXMLAttributeCursor* attribute = cursor.AttributeCursor();
  if (attribute == nullptr) return;
  do {
    const std::string name = attribute->Name();
    if (EqualIgnoringAsciiCase(name, "type"))
      type_ = attribute->Text();
    else if (EqualIgnoringAsciiCase(name, "msg"))
      message_ = attribute->Text();
  } while (attribute->NextAttribute());
}

CRKException::CRKException(const CRKErr& error) : CRKErr(error), code_(ServerErrorCode(Type())) {}

}  // namespace velinst
