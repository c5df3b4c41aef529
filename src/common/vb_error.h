#pragma once
// The one error type that ends a run. It carries the error number and the
// Dutch description the run log writes ("6 -> Overloop").

#include <stdexcept>
#include <string>

namespace typrosync {

class VbError : public std::runtime_error {
 public:
  VbError(long number, std::string description);

  long number() const { return number_; }
  const std::string& description() const { return description_; }

  static VbError Overflow();              // 6
  static VbError SubscriptOutOfRange();   // 9
  static VbError DivisionByZero();        // 11
  static VbError TypeMismatch();          // 13
  static VbError InvalidUseOfNull();      // 94

 private:
  long number_;
  std::string description_;
};

}  // namespace typrosync
