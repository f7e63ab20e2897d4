#include "webclient/rk_class.h"

#include <limits>

#include "webclient/answer_file.h"
#include "webclient/exception_handler.h"
#include "webclient/response_parser.h"
#include "webclient/result_code.h"

namespace velinst {

namespace {

constexpr char kNoData[] = "No data retrieved from server";
constexpr char kBadContentType[] = "Bad content type retrieved from server";
constexpr char kCannotEncrypt[] = "Cannot encrypt request parameters";
constexpr char kNoAnswerFile[] = "Cannot create temporary file";
constexpr char kPostDataTooLarge[] = "Request document too large";
constexpr std::int32_t kHttpNotFound = 404;

// Set while the registered handler runs on this thread: the calls it makes
// to repair an error (its own sign-in) never start a second repair.
thread_local bool handlerRunning = false;

class HandlerRunning {
 public:
  HandlerRunning() { handlerRunning = true; }
  HandlerRunning(const HandlerRunning&) = delete;
  HandlerRunning& operator=(const HandlerRunning&) = delete;
  ~HandlerRunning() { handlerRunning = false; }
};

// Post data set for a call that ends before its request would otherwise go
// out with the thread's next request, long after its owner released it.
class PostDataCleared {
 public:
  PostDataCleared() = default;
  PostDataCleared(const PostDataCleared&) = delete;
  PostDataCleared& operator=(const PostDataCleared&) = delete;
  ~PostDataCleared() { ServiceSession().SetPostData(nullptr, 0); }
};

// The loaded answer holds auth tokens and the parser objects of the thread
// that loaded it; nothing needs it after the parse.
class LoadedAnswer {
 public:
  explicit LoadedAnswer(CXMLDocument& document) : document_(document) {}
  LoadedAnswer(const LoadedAnswer&) = delete;
  LoadedAnswer& operator=(const LoadedAnswer&) = delete;
  ~LoadedAnswer() { document_.ReleaseDocument(); }

 private:
  CXMLDocument& document_;
};

}  // namespace

void CRKClass::SetPostData(const std::string& data) {
  if (data.size() > std::numeric_limits<std::uint32_t>::max()) RaiseText(kPostDataTooLarge);
  SetPostData(data.data(), static_cast<std::uint32_t>(data.size()));
}

void CRKClass::SetPostData(const void* data, std::uint32_t length) { ServiceSession().SetPostData(data, length); }

std::int32_t CRKClass::Send(std::string method, CRKParameterList parameters, IRKParser* parser, int mode) {
  return SendCall(method, parameters, parser, mode, true);
}

std::int32_t CRKClass::SendCall(const std::string& method, CRKParameterList& parameters, IRKParser* parser, int mode,
                                bool mayRepeat) {
  const PostDataCleared noPostDataAfterwards;
  const std::string target = RequestTarget(method, parameters, mode);
  CRKAnswerFile answer;
  if (!answer.Create()) RaiseText(kNoAnswerFile);
  const void* postData = nullptr;
  std::uint32_t postLength = 0;
  ServiceSession().GetPostData(postData, postLength);

  std::optional<CRKException> serverError;
  const std::int32_t code = Exchange(target, answer, parser, serverError);
  if (!serverError) return code;
  std::int32_t result = serverError->Code();
  if (!mayRepeat || !Recover(*serverError, result)) return result;

  answer.Delete();
  ServiceSession().SetPostData(postData, postLength);
  if (!parameters.empty() && parameters.front().name == "authToken") parameters.front().value = CurrentAuthToken();
  return SendCall(method, parameters, parser, mode, false);
}

std::string CRKClass::RequestTarget(const std::string& method, const CRKParameterList& parameters, int mode) {
  std::string target = GetBasePath() + "method=" + method;
  std::string query = QueryText(parameters);
  if (mode != kRKPlain) {
    std::string encrypted;
    if (!EncryptedQuery(query, mode, encrypted)) RaiseText(kCannotEncrypt);
    query = std::move(encrypted);
  }
  return target + query;
}

std::int32_t CRKClass::Exchange(const std::string& target, const CRKAnswerFile& answer, IRKParser* parser,
                                std::optional<CRKException>& serverError) {
  const std::lock_guard lock(AnswerLock());
  http::CHttpSession& session = ServiceSession();
  if (session.RequestToFile(answer.Path(), target.c_str()) == 0) RaiseText(kNoData);
  if (session.GetStatusCode() == kHttpNotFound) return kRKRecordNotFound;
  if (session.GetContentType().find("text/xml") == std::string::npos) RaiseText(kBadContentType);

  CXMLDocument& document = document_.Document();
  const LoadedAnswer released(document);
  CRKResponseParser envelope(parser);
  try {
    document.LoadFile(answer.Path());
    envelope.Parse(*document.GetRoot());
  } catch (const CRKException& error) {
    serverError.emplace(error);
  } catch (CLastErr* raised) {
    // The envelope dies with this frame and the method's parser with the
    // method, and the next answer overwrites the document's error: the
    // caller reads a copy on this group.
    RaiseCopy(*raised);
  }
  return kRKSuccess;
}

bool CRKClass::Recover(const CRKException& error, std::int32_t& code) {
  code = error.Code();
  IRKExceptionHandler* handler = RegisteredExceptionHandler();
  if (handler == nullptr || handlerRunning) return false;
  const HandlerRunning running;
  try {
    return handler->Handle(error);
  } catch (const CRKException& again) {
    code = again.Code();
    return false;
  } catch (CLastErr* raised) {
    RaiseCopy(*raised);
  }
}

}  // namespace velinst
