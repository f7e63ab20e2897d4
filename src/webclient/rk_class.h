// The base of every method group of the account web service: sends one
// call through the process-wide session and reads the answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "errors/last_err.h"
#include "webclient/client_state.h"
#include "webclient/parameter_list.h"
#include "webclient/request_query.h"
#include "webclient/rk_parser.h"
#include "webclient/server_error.h"

namespace velinst {

class CRKAnswerFile;

// Transport and format errors are raised on the group's own CLastErr part,
// where the caller reads them before it destroys the group.
class CRKClass : public CLastErr {
 public:
  static constexpr const char* kBasePath = "WebServices/Api/Rest/RestHandler.ashx?";

  CRKClass() = default;
  CRKClass(const CRKClass&) = delete;
  CRKClass& operator=(const CRKClass&) = delete;
  virtual ~CRKClass() = default;

  virtual std::string GetBasePath() const { return kBasePath; }

  // The document that the calling thread's next request posts. The caller
  // keeps it alive until Send returns; Send leaves none behind.
  void SetPostData(const std::string& data);
  void SetPostData(const void* data, std::uint32_t length);

  // Calls `method` with `parameters` (in a mode of request_query.h) and
  // offers the answer's elements to `parser` (may be null). Returns 0, a
  // server error's code, or kRKRecordNotFound for a missing page. When the
  // registered handler repairs a server error, the call is repeated once,
  // with the current auth token in a first "authToken" parameter.
  std::int32_t Send(std::string method, CRKParameterList parameters, IRKParser* parser, int mode);

 private:
  std::int32_t SendCall(const std::string& method, CRKParameterList& parameters, IRKParser* parser, int mode,
                        bool mayRepeat);
  std::string RequestTarget(const std::string& method, const CRKParameterList& parameters, int mode);
  // Sends the request and parses its answer with the answer lock held.
  std::int32_t Exchange(const std::string& target, const CRKAnswerFile& answer, IRKParser* parser,
                        std::optional<CRKException>& serverError);
  // Asks the registered handler to repair `error`; true when the call may
  // be repeated. `code` receives the result when not.
  bool Recover(const CRKException& error, std::int32_t& code);

  CRKDocumentReference document_;
};

}  // namespace velinst
