#include "service_server.h"

#include "answer_writer.h"
#include "service_error.h"
#include "value_text.h"
#include "withheld_secrets.h"

namespace velinst::service {
namespace {

constexpr const char* kContentType = "text/xml; charset=utf-8";

void Reply(httplib::Response& response, int status, const std::string& document) {
  response.status = status;
  response.set_header("Pragma", "status=OK");
  response.set_content(document, kContentType);
}

// What the HTTP layer refused before the service saw the request.
void RefusedRequest(const httplib::Request&, httplib::Response& response) {
  if (response.has_header("Content-Type")) return;  // an answer of its own (scripted or the service's)
  if (response.status == 413 || response.status == 414)
    Reply(response, response.status,
          ErrorAnswer(error_type::kRequestTooLarge, "The request is larger than the service takes (16 MiB)"));
  else
    Reply(response, response.status, ErrorAnswer(error_type::kRequest, "The request is not well-formed HTTP"));
}

std::string QueryOf(const std::string& target) {
  const std::size_t question = target.find('?');
  return question == std::string::npos ? std::string() : target.substr(question + 1);
}

}  // namespace

ServiceServer::ServiceServer(AccountService& service) : service_(service) {
  server_.SetPayloadLimit(kMaxRequestBody);
  server_.SetConnectionLimits(kConnectionThreads, kKeepAliveIdle);
  server_.CloseControl();
  server_.Log().SetLimit(kLoggedRequests);
  server_.SetLogFilter([](testserver::LoggedRequest& request) {
    request.target = WithheldTarget(request.target);
    request.body = WithheldBody(request.body);
  });
  server_.SetErrorResponder([](const httplib::Request& request, httplib::Response& response) {
    RefusedRequest(request, response);
    return true;
  });
  server_.SetResponder(
      [this](const httplib::Request& request, httplib::Response& response) { return Serve(request, response); });
  server_.SetControlResponder(
      [this](const httplib::Request& request, httplib::Response& response) { return Control(request, response); });
}

int ServiceServer::Bind(const std::string& host, int port) { return server_.Bind(host, port); }

void ServiceServer::Run(std::chrono::seconds idleExit) { server_.Run(idleExit); }

bool ServiceServer::Serve(const httplib::Request& request, httplib::Response& response) {
  if (!IsServicePath(request.path)) {
    // Not empty: an empty answer would read as "no data" before the
    // status is looked at.
    Reply(response, 404, ErrorAnswer(error_type::kRecordNotFound, "The service has no page " + request.path));
    return true;
  }
  const ServiceAnswer answer = service_.Handle(QueryOf(request.target), request.body, request.remote_addr);
  Reply(response, answer.status, answer.body);
  return true;
}

bool ServiceServer::Control(const httplib::Request& request, httplib::Response& response) {
  if (request.path != kControlClockPath) return false;
  if (request.has_param("offset")) {
    const auto seconds = IntegerText(request.get_param_value("offset"));
    if (!seconds) {
      response.status = 400;
      response.set_content("offset=SECONDS\n", "text/plain");
      return true;
    }
    service_.Clock().SetOffset(*seconds);
  }
  response.set_content(std::to_string(service_.Clock().Offset()) + "\n", "text/plain");
  return true;
}

}  // namespace velinst::service
