#include "webclient/client_state.h"

#include <atomic>
#include <memory>
#include <utility>

#include "http/serialized_http_session.h"
#include "webclient/payload_encryption.h"

namespace velinst {

namespace {

// Built on first use and destroyed at unload, after the last client.
struct ClientState {
  // Every client opens and closes the one session: the opens are counted so
  // that one client's end leaves it open for the others still using it.
  http::CSerializedHttpSession session;
  std::mutex answerLock;

  std::mutex documentLock;
  int documentReferences = 0;
  std::unique_ptr<CXMLDocument> document;

  std::atomic<IRKExceptionHandler*> handler{nullptr};

  std::mutex tokenLock;
  std::string token;

  std::atomic<PayloadEncrypter> encrypter{EncryptWithServiceKey};
};

ClientState& State() {
  static ClientState state;
  return state;
}

}  // namespace

http::CHttpSession& ServiceSession() { return State().session; }

CRKDocumentReference::CRKDocumentReference() {
  ClientState& state = State();
  std::lock_guard lock(state.documentLock);
  if (state.documentReferences++ == 0) state.document = std::make_unique<CXMLDocument>();
  document_ = state.document.get();
}

CRKDocumentReference::~CRKDocumentReference() {
  ClientState& state = State();
  std::lock_guard lock(state.documentLock);
  if (--state.documentReferences == 0) state.document.reset();
}

std::mutex& AnswerLock() { return State().answerLock; }

IRKExceptionHandler* RegisteredExceptionHandler() { return State().handler.load(); }

void RegisterExceptionHandler(IRKExceptionHandler* handler) { State().handler.store(handler); }

void UnregisterExceptionHandler(IRKExceptionHandler* handler) {
  State().handler.compare_exchange_strong(handler, nullptr);
}

std::string CurrentAuthToken() {
  ClientState& state = State();
  std::lock_guard lock(state.tokenLock);
  return state.token;
}

void SetCurrentAuthToken(std::string token) {
  ClientState& state = State();
  std::lock_guard lock(state.tokenLock);
  state.token = std::move(token);
}

bool EncryptPayload(std::string_view plain, std::string& base64) { return State().encrypter.load()(plain, base64); }

PayloadEncrypter SetPayloadEncrypter(PayloadEncrypter encrypter) {
  return State().encrypter.exchange(encrypter != nullptr ? encrypter : EncryptWithServiceKey);
}

}  // namespace velinst
