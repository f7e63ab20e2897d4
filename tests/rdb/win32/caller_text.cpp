#include "caller_text.h"

namespace velinst::test {

bool ExportsAnswerInUtf8() { return false; }

}  // namespace velinst::test
