#include "LoShowReadiness.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindowListener.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/LayoutManagerEvents.hpp>
#include <com/sun/star/frame/XLayoutManagerEventBroadcaster.hpp>
#include <com/sun/star/frame/XLayoutManagerListener.hpp>
#include <cppuhelper/implbase2.hxx>

#include <condition_variable>
#include <mutex>

using namespace css::uno;
namespace LayoutEvents = css::frame::LayoutManagerEvents;

namespace vexlo::office::lo {

struct ShowReadiness::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool activated = false;
    bool barShownSinceActivation = false;
    bool ready = false;
};

namespace {

// Calls come from the office on the bridge's threads; they only record and wake.
class Listener : public cppu::WeakImplHelper2<css::awt::XTopWindowListener, css::frame::XLayoutManagerListener> {
public:
    explicit Listener(std::shared_ptr<ShowReadiness::State> s) : m_state(std::move(s)) {}

    void SAL_CALL windowActivated(const css::lang::EventObject&) override {
        update([](ShowReadiness::State& s) { s.activated = true; });
    }
    void SAL_CALL layoutEvent(const css::lang::EventObject&, sal_Int16 event, const Any&) override {
        update([event](ShowReadiness::State& s) {
            if (!s.activated) return;
            // The second layout shows the bars again after the activation, then lays out.
            if (event == LayoutEvents::UIELEMENT_VISIBLE) s.barShownSinceActivation = true;
            else if (event == LayoutEvents::LAYOUT && s.barShownSinceActivation) s.ready = true;
        });
    }
    void SAL_CALL windowOpened(const css::lang::EventObject&) override {}
    void SAL_CALL windowClosing(const css::lang::EventObject&) override {}
    void SAL_CALL windowClosed(const css::lang::EventObject&) override {}
    void SAL_CALL windowMinimized(const css::lang::EventObject&) override {}
    void SAL_CALL windowNormalized(const css::lang::EventObject&) override {}
    void SAL_CALL windowDeactivated(const css::lang::EventObject&) override {}
    void SAL_CALL disposing(const css::lang::EventObject&) override {
        update([](ShowReadiness::State& s) { s.ready = true; }); // nothing more will come
    }

private:
    template <class F> void update(F f) {
        {
            std::lock_guard lock(m_state->mutex);
            f(*m_state);
        }
        m_state->changed.notify_all();
    }
    std::shared_ptr<ShowReadiness::State> m_state;
};

Reference<css::frame::XLayoutManagerEventBroadcaster> layoutOf(const Reference<css::frame::XFrame>& frame) {
    Reference<css::beans::XPropertySet> props(frame, UNO_QUERY);
    if (!props.is()) return {};
    return Reference<css::frame::XLayoutManagerEventBroadcaster>(props->getPropertyValue("LayoutManager"), UNO_QUERY);
}

} // namespace

std::shared_ptr<ShowReadiness> ShowReadiness::watch(const Reference<css::frame::XFrame>& frame) {
    std::shared_ptr<ShowReadiness> r(new ShowReadiness);
    r->m_state = std::make_shared<State>();
    r->m_frame = frame;
    auto* listener = new Listener(r->m_state);
    r->m_listener = static_cast<cppu::OWeakObject*>(listener); // holds it from here on
    Reference<css::awt::XTopWindow> top(frame->getContainerWindow(), UNO_QUERY);
    if (top.is()) top->addTopWindowListener(Reference<css::awt::XTopWindowListener>(listener));
    if (auto layout = layoutOf(frame); layout.is())
        layout->addLayoutManagerEventListener(Reference<css::frame::XLayoutManagerListener>(listener));
    return r;
}

ShowReadiness::~ShowReadiness() = default;

ShowReadiness::Outcome ShowReadiness::wait() {
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock lock(m_state->mutex);
    if (!m_state->changed.wait_until(lock, start + kUnactivatedWait, [this] { return m_state->activated; }))
        return Outcome::NotActivated;
    return m_state->changed.wait_until(lock, start + kLongestWait, [this] { return m_state->ready; })
               ? Outcome::Ready
               : Outcome::TimedOut;
}

void ShowReadiness::stop() {
    Reference<css::awt::XTopWindowListener> asWindow(m_listener, UNO_QUERY);
    Reference<css::frame::XLayoutManagerListener> asLayout(m_listener, UNO_QUERY);
    try {
        Reference<css::awt::XTopWindow> top(m_frame->getContainerWindow(), UNO_QUERY);
        if (top.is()) top->removeTopWindowListener(asWindow);
        if (auto layout = layoutOf(m_frame); layout.is()) layout->removeLayoutManagerEventListener(asLayout);
    } catch (const css::uno::Exception&) {
        // A window already gone has dropped its listeners.
    }
}

} // namespace vexlo::office::lo
