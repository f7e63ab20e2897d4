// Answers read straight from a document, without HTTP: the envelope and
// the method parsers as Send drives them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "test_support.h"
#include "webclient/response_parser.h"
#include "webclient/server_error.h"
#include "xml/document.h"

namespace velinst::test {

// An answer with status="ok" around `elements`.
inline std::string Ok(const std::string& elements) { return "<rsp status=\"ok\">" + elements + "</rsp>"; }

// How an answer ended.
struct Outcome {
  std::optional<std::int32_t> serverErrorCode;
  std::string serverErrorType;
  std::string raised;  // the message of a raised error
};

class AnswerDocumentTest : public ::testing::Test {
 protected:
  // Loads `answer` and runs the envelope parser with `inner` on it.
  Outcome Read(const std::string& answer, IRKParser* inner) {
    Outcome outcome;
    // Outside the try: the envelope's own errors are read in the handler.
    CRKResponseParser envelope(inner);
    try {
      document_.LoadText(answer.c_str());
      envelope.Parse(*document_.GetRoot());
    } catch (const CRKException& error) {
      outcome.serverErrorCode = error.Code();
      outcome.serverErrorType = error.Type();
    } catch (CLastErr* error) {
      const char* text = nullptr;
      outcome.raised = error->GetText(text) ? text : "(no text)";
    }
    return outcome;
  }

  ComApartment com_;
  CXMLDocument document_;
};

}  // namespace velinst::test
