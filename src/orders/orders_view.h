#pragma once
// What the order run shows while it works: the status line, the progress bar
// and the delivery lines of the customer being handled, on top of the user
// interface every layer may use. The window and the headless console view
// implement it.

#include <string>

#include "common/delivery_line.h"
#include "common/user_interface.h"

namespace typrosync {

class OrdersView : public UserInterface {
 public:
  // The text of lblStatus.
  virtual void SetStatus(const std::string& text) = 0;
  // The progress bar, 0 to 100.
  virtual void SetProgress(double percent) = 0;
  // The rows of lvwLeveringen changed; `lines` stays valid until the next call.
  virtual void ShowDeliveryLines(const DeliveryLines& lines) = 0;
  // False when ShowDeliveryLines shows nothing: the run may then leave out
  // the rows that only the view would see.
  virtual bool ShowsDeliveryLines() const { return true; }
};

}  // namespace typrosync
