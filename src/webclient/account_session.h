// What the Account group keeps for the whole process besides the current
// auth token: the credentials of the last successful sign-in, with which it
// signs in again by itself, and when it last did so.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velinst {

// In the order in which Login takes them.
struct CRKCredentials {
  std::string username;
  std::string password;
  std::string hardwareID;
  std::string appVersion;
  std::string appName;
  std::string manufacturer;
  std::string model;
  std::string carrier;
  std::string firmware;
  std::string drmInfo;
};

CRKCredentials SavedCredentials();
void SaveCredentials(CRKCredentials credentials);
void SaveChangedPassword(std::string password);

// Seconds since 1970 of the last automatic sign-in; nothing before the
// first expired token was handled.
std::optional<std::int64_t> LastAutomaticSignIn();
void SetLastAutomaticSignIn(std::int64_t seconds);

// The clock of the automatic sign-in (seconds since 1970); replaceable so
// tests can move time. Returns the clock it replaces; null restores the
// system's.
using CRKClock = std::int64_t (*)();
std::int64_t SignInClockNow();
CRKClock SetSignInClock(CRKClock clock);

// Back to the state of a fresh process: no credentials, no automatic
// sign-in yet, no current auth token.
void ResetAccountSession();

}  // namespace velinst
