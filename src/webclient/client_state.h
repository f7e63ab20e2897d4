// What the service client keeps for the whole process: the HTTP session,
// the document that answers are loaded into, the registered exception
// handler and the current auth token.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "http/http_session.h"
#include "xml/document.h"

namespace velinst {

class IRKExceptionHandler;

http::CHttpSession& ServiceSession();

// A reference on the answer document: the first reference creates it, the
// last one destroys it.
class CRKDocumentReference {
 public:
  CRKDocumentReference();
  CRKDocumentReference(const CRKDocumentReference&) = delete;
  CRKDocumentReference& operator=(const CRKDocumentReference&) = delete;
  ~CRKDocumentReference();

  CXMLDocument& Document() const { return *document_; }

 private:
  CXMLDocument* document_;
};

// Held while one request is sent and its answer loaded and parsed, so that
// only one answer at a time uses the document.
std::mutex& AnswerLock();

// Null until a handler registers; the last registration wins.
IRKExceptionHandler* RegisteredExceptionHandler();
void RegisterExceptionHandler(IRKExceptionHandler* handler);
// Clears the registration only while it is still `handler`.
void UnregisterExceptionHandler(IRKExceptionHandler* handler);

// The token that the last successful sign-in gave; empty at start.
std::string CurrentAuthToken();
void SetCurrentAuthToken(std::string token);

// Encrypts a plain query text into the Base64 text of its ciphertext; false
// when it cannot. Replaceable, so that tests can make it fail.
using PayloadEncrypter = bool (*)(std::string_view plain, std::string& base64);
bool EncryptPayload(std::string_view plain, std::string& base64);
// Returns the encrypter it replaces.
PayloadEncrypter SetPayloadEncrypter(PayloadEncrypter encrypter);

}  // namespace velinst
