#pragma once
// The number of the VbError a call throws, or 0 when it throws none.

#include "common/vb_error.h"

namespace typrosync {

template <typename Call>
long VbErrorNumber(Call call) try {
  call();
  return 0;
} catch (const VbError& error) {
  return error.number();
}

}  // namespace typrosync
