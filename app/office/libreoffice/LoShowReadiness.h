#pragma once

#include <com/sun/star/frame/XFrame.hpp>

#include <chrono>
#include <memory>

namespace vexlo::office::lo {

// Tells when a document window that was hidden until now is ready to carry a slide show.
//
// Under a window manager the office activates the new window once the manager has mapped
// it, and about a third of a second later lays its bars out again; a show started before
// that second layout never redraws (the screen keeps the document window, keys do
// nothing). The watch waits for exactly that layout, as the office reports it.
class ShowReadiness {
public:
    enum class Outcome { Ready, NotActivated, TimedOut };

    // Without a window manager nobody activates the window; then it waits this long, as
    // a show needed before the wait was tied to the window's events.
    static constexpr std::chrono::milliseconds kUnactivatedWait{800};
    // A loaded machine can stretch the layout; a show is started after this at the latest.
    static constexpr std::chrono::milliseconds kLongestWait{3000};

    // Listens on the frame's window and layout; call on the office's worker before the
    // window is shown.
    static std::shared_ptr<ShowReadiness> watch(const css::uno::Reference<css::frame::XFrame>& frame);
    ~ShowReadiness();

    // On the caller's thread: returns once the window is ready or the waits above are over.
    Outcome wait();
    // On the office's worker: stops listening.
    void stop();

    struct State;

private:
    ShowReadiness() = default;
    std::shared_ptr<State> m_state;
    css::uno::Reference<css::frame::XFrame> m_frame;
    css::uno::Reference<css::uno::XInterface> m_listener;
};

} // namespace vexlo::office::lo
