// The component object runtime of the calling thread for one account
// export: the answer documents are COM objects on Windows.
#pragma once

namespace velinst {

class CComApartment {
 public:
  // Enters a single-threaded apartment; a thread already in one counts
  // as entered, one in another apartment does not (and is left alone).
  CComApartment();
  CComApartment(const CComApartment&) = delete;
  CComApartment& operator=(const CComApartment&) = delete;
  // Leaves the apartment once when the constructor entered it.
  ~CComApartment();

  bool Entered() const { return entered_; }

 private:
  bool entered_ = false;
};

}  // namespace velinst
