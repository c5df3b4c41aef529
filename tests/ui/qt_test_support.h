#pragma once
// What every Qt test here needs: one QApplication, on Qt's offscreen platform
// unless the environment asks for another, and the person pressing the buttons
// of a modal message window. The last step must close the window: one closed
// early, or left open, fails the test.

#include <functional>
#include <vector>

#include "ui/f_message.h"

namespace typrosync::test_support {

using ModalStep = std::function<void(FMessage&)>;

// Runs `steps` on the next FMessage that opens modally; call before opening it.
void ScriptModal(std::vector<ModalStep> steps);

// Clicks button `index` of the window with the mouse.
void ClickButton(FMessage& window, int index);

}  // namespace typrosync::test_support
