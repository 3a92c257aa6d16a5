#pragma once

#include <functional>

namespace vexlo::office::lo {

// Runs `work` to its end. Called on the user-interface thread, the work runs on a thread
// of its own while the windows go on: they are mapped and painted and their timers tick,
// and the user's input waits until the work is done. `busy` (when set) is told once the
// wait has lasted long enough for the user to notice, and again when it is over, so the
// pointer can say that the program is busy. On any other thread `work` runs in place.
void runOffUiThread(const std::function<void()>& work, const std::function<void(bool)>& busy);

} // namespace vexlo::office::lo
