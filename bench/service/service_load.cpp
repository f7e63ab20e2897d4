// Load on a running account-service stand-in, from many connections at once.
//
//   service_load signins PORT USER PASSWORD SIGNERS OTHERS SECONDS
//     SIGNERS threads sign USER in over and over, OTHERS threads ask
//     Account.UsernameExists meanwhile, each on a kept-alive connection;
//     prints both rates per second.
//   service_load clients PORT CLIENTS PAUSE_MS ROUNDS
//     CLIENTS connections at once, each kept alive: a request, a pause, the
//     next request; prints the slowest and the median wait of an answer.
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "http/payload_cipher.h"
#include "http/payload_key.h"
#include "platform/base64.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPath = "/WebServices/Api/Rest/RestHandler.ashx?method=";

std::string PercentEncoded(const std::string& text) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')) {
      out += c;
    } else {
      out += '%';
      out += kDigits[byte >> 4];
      out += kDigits[byte & 15];
    }
  }
  return out;
}

std::string Sealed(const std::string& plain) {
  velinst::http::CPayloadCipher cipher(velinst::http::PayloadKeyMaterial());
  std::uint32_t length = 0;
  cipher.Encrypt(plain.data(), static_cast<std::uint32_t>(plain.size()), nullptr, length);
  std::vector<std::uint8_t> sealed(length);
  cipher.Encrypt(plain.data(), static_cast<std::uint32_t>(plain.size()), sealed.data(), length);
  std::string text(velinst::Base64EncodedSize(length), '\0');
  velinst::Base64Encode(text.data(), sealed.data(), length);
  text.pop_back();
  return PercentEncoded(text);
}

bool Ok(const httplib::Result& result) {
  return result && result->status == 200 && result->body.find("status=\"ok\"") != std::string::npos;
}

int SignIns(int port, const std::string& user, const std::string& password, int signers, int others, int seconds) {
  const std::string login =
      std::string(kPath) + "Account.Login&encryptedData=" + Sealed("&username=" + user + "&password=" + password);
  const std::string exists = std::string(kPath) + "Account.UsernameExists&username=" + user;
  std::atomic<bool> running{true};
  std::atomic<long> signedIn{0}, answered{0}, failed{0};
  std::vector<std::thread> threads;
  auto loop = [&](const std::string& target, std::atomic<long>& count) {
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_read_timeout(60, 0);
    while (running) (Ok(client.Get(target)) ? count : failed)++;
  };
  for (int i = 0; i < signers; ++i) threads.emplace_back(loop, login, std::ref(signedIn));
  for (int i = 0; i < others; ++i) threads.emplace_back(loop, exists, std::ref(answered));
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  running = false;
  for (std::thread& thread : threads) thread.join();
  std::printf("%d signers, %d others, %d s: %.1f sign-ins/s, %.1f other requests/s, %ld failed\n", signers, others,
              seconds, static_cast<double>(signedIn) / seconds, static_cast<double>(answered) / seconds,
              static_cast<long>(failed));
  return failed == 0 ? 0 : 1;
}

int Clients(int port, int clients, int pauseMs, int rounds) {
  const std::string target = std::string(kPath) + "Account.GetTimeStamp";
  std::mutex lock;
  std::vector<double> waits;
  std::atomic<long> failed{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < clients; ++i) {
    threads.emplace_back([&] {
      httplib::Client client("127.0.0.1", port);
      client.set_keep_alive(true);
      client.set_read_timeout(60, 0);
      for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        if (!Ok(client.Get(target))) ++failed;
        const double wait = std::chrono::duration<double>(Clock::now() - start).count();
        {
          const std::lock_guard guard(lock);
          waits.push_back(wait);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::sort(waits.begin(), waits.end());
  std::printf("%d clients, %d rounds, %d ms pause: slowest answer %.3f s, median %.4f s, %ld failed\n", clients, rounds,
              pauseMs, waits.back(), waits[waits.size() / 2], static_cast<long>(failed));
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "signins" && argc == 8)
    return SignIns(std::atoi(argv[2]), argv[3], argv[4], std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]));
  if (mode == "clients" && argc == 6)
    return Clients(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  std::fprintf(stderr,
               "usage: service_load signins PORT USER PASSWORD SIGNERS OTHERS SECONDS\n"
               "       service_load clients PORT CLIENTS PAUSE_MS ROUNDS\n");
  return 2;
}
