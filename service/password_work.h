// Password hashing is slow on purpose, and the service runs one request at
// a time: hashing under the service-wide lock would stall every other
// request for as long. So a method never hashes itself. It asks its
// PasswordWork; when the hash is not made yet, that throws HashingNeeded,
// the service rolls the request back, makes the hash without the lock and
// runs the request again, which now finds the hash made. A method runs
// again unchanged on the database as it then is, so nothing it did the
// first time counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velinst::service {

// Thrown by PasswordWork for work not done yet. Not a std::exception, so no
// handler's own catch takes it.
struct HashingNeeded {
  std::string password;
  std::optional<std::string> stored;  // a verification against it; none: a new hash
};

class PasswordWork {
 public:
  explicit PasswordWork(std::uint32_t iterations) : iterations_(iterations) {}

  // Whether `password` matches the stored hash; an empty stored text (a
  // user without a password) matches nothing.
  bool Verify(std::string_view password, std::string_view stored) const;
  // A new salted hash of `password`, the same one for every call in the
  // request.
  std::string Hash(std::string_view password) const;

  // Does the work that `needed` asks for: outside the lock.
  void Do(const HashingNeeded& needed);

 private:
  struct Verified {
    std::string password;
    std::string stored;
    bool matches;
  };
  struct Hashed {
    std::string password;
    std::string hash;
  };
  std::uint32_t iterations_;
  std::vector<Verified> verified_;
  std::vector<Hashed> hashed_;
};

}  // namespace velinst::service
