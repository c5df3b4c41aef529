#pragma once
// The collaborators of the order run, handed in once by the run sequence.
// Every reference must outlive the calls that use the context.

#include <optional>
#include <string>
#include <unordered_map>

#include "common/clock.h"
#include "common/locale_settings.h"
#include "common/run_state.h"
#include "common/stop_request.h"
#include "database/administratie.h"
#include "orders/message_builders.h"
#include "orders/order_fields.h"
#include "orders/scanned_lines.h"
#include "orders/orders_view.h"
#include "common/run_log.h"

namespace typrosync {

struct OrderContext {
  RunState& state;
  Administratie& admin;
  OrdersView& view;
  RunLog& log;
  Clock& clock;
  MessageBuilders& builders;
  Separators& separators;  // the run's, changed by the amount texts
  // Relation group descriptions per selection string. The run never writes
  // the code tables, so one lookup per distinct selection serves the run.
  std::unordered_map<std::string, std::string> relation_groups = {};
  // Asked before each customer; null: the run is never stopped early.
  const StopRequest* stop = nullptr;
  // Field positions of the order tables, looked up on first use.
  std::optional<OrderTableFields> fields = std::nullopt;
  // What the order scan kept of the lines; nullopt: read them afresh.
  std::optional<ScannedLines> scanned = std::nullopt;

  OrderTableFields& Fields() {
    if (!fields) fields.emplace(admin);
    return *fields;
  }
};

}  // namespace typrosync
