#pragma once
// The person pressing the buttons of a modal message window: steps run one after
// another from inside the window's own event loop, with events processed between
// them. A watchdog ends a window that a test forgot to close, and fails the test.

#include <functional>
#include <vector>

#include "ui/f_message.h"

namespace typrosync {

using ModalStep = std::function<void(FMessage&)>;

// Runs `steps` on the next FMessage that opens modally; call before opening it.
void ScriptModal(std::vector<ModalStep> steps);

// Clicks button `index` of the window with the mouse.
void ClickButton(FMessage& window, int index);

}  // namespace typrosync
