// How texts of the caller's ANSI code page come back out of the account
// exports: the service keeps UTF-8, which the library hands back in the
// ANSI code page on Windows and as it is on the host (whose narrow texts
// are UTF-8).
#pragma once

namespace velinst::test {

bool ExportsAnswerInUtf8();

}  // namespace velinst::test
