#include "common/vb_error.h"

#include <utility>

namespace typrosync {

VbError::VbError(long number, std::string description)
    : std::runtime_error(std::to_string(number) + " -> " + description),
      number_(number),
      description_(std::move(description)) {}

VbError VbError::Overflow() { return VbError(6, "Overloop"); }
VbError VbError::SubscriptOutOfRange() { return VbError(9, "Subscript valt buiten het bereik"); }
VbError VbError::DivisionByZero() { return VbError(11, "Deling door nul"); }
VbError VbError::TypeMismatch() { return VbError(13, "Typen komen niet overeen"); }
VbError VbError::InvalidUseOfNull() { return VbError(94, "Ongeldig gebruik van Null"); }

}  // namespace typrosync
