#include "service_fixture.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <sstream>

#include "http/payload_cipher.h"
#include "http/payload_key.h"
#include "platform/base64.h"
#include "webclient/account_session.h"

namespace velinst::test {

namespace {

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool escape = text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]));
    out.push_back(escape ? static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)) : text[i]);
    i += escape ? 2 : 0;
  }
  return out;
}

std::string Decrypted(const std::string& base64) {
  std::vector<std::uint8_t> ciphertext(Base64DecodedCapacity(base64.size()));
  ciphertext.resize(Base64Decode(ciphertext.data(), base64.c_str(), base64.size()));
  http::CPayloadCipher cipher(http::PayloadKeyMaterial());
  std::uint32_t length = 0;
  const auto size = static_cast<std::uint32_t>(ciphertext.size());
  if (!cipher.Decrypt(ciphertext.data(), size, nullptr, length)) return "(undecryptable)";
  std::string plain(length, '\0');
  if (!cipher.Decrypt(ciphertext.data(), size, plain.data(), length)) return "(undecryptable)";
  plain.resize(length);
  return plain;
}

// "&a=1&b=2" (or "a=1&b=2") into its pairs, values decoded.
QueryPairs SplitQuery(const std::string& query) {
  QueryPairs pairs;
  std::istringstream items(query);
  for (std::string item; std::getline(items, item, '&');) {
    const std::size_t equals = item.find('=');
    if (!item.empty())
      pairs.emplace_back(item.substr(0, equals),
                         equals == std::string::npos ? "" : PercentDecoded(item.substr(equals + 1)));
  }
  return pairs;
}

QueryPairs Parameters(const std::string& query) {
  QueryPairs pairs;
  for (const auto& [name, value] : SplitQuery(query)) {
    if (name == "method") continue;
    if (name == "encryptedData" || name == "encryptedDeviceInfo") {
      for (auto& inner : SplitQuery(Decrypted(value))) pairs.push_back(std::move(inner));
    } else {
      pairs.emplace_back(name, value);
    }
  }
  return pairs;
}

}  // namespace

std::string Message(const CLastErr& error) {
  const char* text = nullptr;
  return error.GetText(text) ? text : "";
}

void ServiceTest::SetUp() {
  ASSERT_TRUE(server_.Ready()) << "no test server: its port file " << VELINST_TESTSERVER_PORT_FILE;
  ResetAccountSession();
  redirect_.emplace(temporary_.Path());
  client_ = std::make_unique<CRK>(server_.HostText(), "", false);
}

void ServiceTest::TearDown() {
  client_.reset();
  redirect_.reset();
  SetPayloadEncrypter(nullptr);
  SetSignInClock(nullptr);
  ResetAccountSession();
}

void ServiceTest::AnswerOk(const std::string& method, const std::string& elements) {
  Answer(method, http::test::OkAnswer("<rsp status=\"ok\">" + elements + "</rsp>"));
}

void ServiceTest::AnswerError(const std::string& method, const std::string& type) {
  server_.Answer(method,
                 http::test::OkAnswer("<rsp status=\"err\"><err type=\"" + type + "\" msg=\"scripted\"/></rsp>"));
}

std::vector<std::string> ServiceTest::Methods() {
  std::vector<std::string> methods;
  for (const testserver::LoggedRequest& request : Requests()) methods.push_back(SplitQuery(RawQuery(request)).at(0).second);
  return methods;
}

std::string ServiceTest::RawQuery(const testserver::LoggedRequest& request) {
  const std::size_t question = request.target.find('?');
  return question == std::string::npos ? std::string() : request.target.substr(question + 1);
}

std::vector<std::string> ServiceTest::Sent() {
  std::vector<std::string> sent;
  for (const testserver::LoggedRequest& request : Requests()) {
    std::string joined;
    for (const auto& [name, value] : Parameters(RawQuery(request))) joined += (joined.empty() ? "" : "&") + name + "=" + value;
    sent.push_back(joined);
  }
  return sent;
}

std::vector<std::string> ServiceTest::TemporaryFiles() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(temporary_.Path()))
    names.push_back(entry.path().filename().string());
  return names;
}

}  // namespace velinst::test
