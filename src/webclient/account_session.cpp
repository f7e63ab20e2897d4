#include "webclient/account_session.h"

#include <atomic>
#include <ctime>
#include <mutex>
#include <utility>

#include "webclient/client_state.h"

namespace velinst {

namespace {

std::int64_t SystemClock() { return static_cast<std::int64_t>(std::time(nullptr)); }

struct AccountSession {
  std::mutex lock;
  CRKCredentials credentials;
  std::optional<std::int64_t> lastAutomaticSignIn;
  std::atomic<CRKClock> clock{SystemClock};
};

AccountSession& Session() {
  static AccountSession session;
  return session;
}

}  // namespace

CRKCredentials SavedCredentials() {
  AccountSession& session = Session();
  std::lock_guard guard(session.lock);
  return session.credentials;
}

void SaveCredentials(CRKCredentials credentials) {
  AccountSession& session = Session();
  std::lock_guard guard(session.lock);
  session.credentials = std::move(credentials);
}

void SaveChangedPassword(std::string password) {
  AccountSession& session = Session();
  std::lock_guard guard(session.lock);
  session.credentials.password = std::move(password);
}

std::optional<std::int64_t> LastAutomaticSignIn() {
  AccountSession& session = Session();
  std::lock_guard guard(session.lock);
  return session.lastAutomaticSignIn;
}

void SetLastAutomaticSignIn(std::int64_t seconds) {
  AccountSession& session = Session();
  std::lock_guard guard(session.lock);
  session.lastAutomaticSignIn = seconds;
}

std::int64_t SignInClockNow() { return Session().clock.load()(); }

CRKClock SetSignInClock(CRKClock clock) { return Session().clock.exchange(clock != nullptr ? clock : SystemClock); }

void ResetAccountSession() {
  AccountSession& session = Session();
  {
    std::lock_guard guard(session.lock);
    session.credentials = CRKCredentials{};
    session.lastAutomaticSignIn.reset();
  }
  SetCurrentAuthToken(std::string());
}

}  // namespace velinst
