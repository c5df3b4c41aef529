#pragma once
// Whether the run has been asked to end at its next safe point (between two
// customers), and why. The run checks it; who asks (a signal handler, a
// test) stays outside the core.

#include <string>

namespace typrosync {

class StopRequest {
 public:
  virtual ~StopRequest() = default;
  virtual bool StopRequested() const = 0;
  // The Dutch text for the run log, e.g. "Gestopt door signaal SIGTERM".
  virtual std::string Reason() const = 0;
};

}  // namespace typrosync
