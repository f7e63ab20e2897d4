#include "password_work.h"

#include "password_hash.h"

namespace velinst::service {

bool PasswordWork::Verify(std::string_view password, std::string_view stored) const {
  if (stored.empty()) return false;
  for (const Verified& done : verified_)
    if (done.password == password && done.stored == stored) return done.matches;
  throw HashingNeeded{std::string(password), std::string(stored)};
}

std::string PasswordWork::Hash(std::string_view password) const {
  for (const Hashed& done : hashed_)
    if (done.password == password) return done.hash;
  throw HashingNeeded{std::string(password), std::nullopt};
}

void PasswordWork::Do(const HashingNeeded& needed) {
  if (needed.stored)
    verified_.push_back({needed.password, *needed.stored, VerifyPassword(needed.password, *needed.stored)});
  else
    hashed_.push_back({needed.password, HashPassword(needed.password, iterations_)});
}

}  // namespace velinst::service
