#pragma once
// The main window as the run sequence sees it: everything the order run
// shows, plus the window caption. Implemented by the Qt window and by the
// headless console view.

#include <string>

#include "orders/orders_view.h"

namespace typrosync {

class RunView : public OrdersView {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
};

}  // namespace typrosync
