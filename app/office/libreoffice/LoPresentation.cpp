#include "LoPresentation.h"

#include "LoShowReadiness.h"

#include "office/Presentation.h"
#include "office/SlideShowView.h"

#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/presentation/XPresentation2.hpp>
#include <com/sun/star/presentation/XPresentationSupplier.hpp>
#include <com/sun/star/presentation/XSlideShowController.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

using namespace css::uno;
using namespace std::chrono_literals;
using css::presentation::XPresentation2;
using css::presentation::XSlideShowController;

namespace vexlo::office {

using lo::LoInstance;
using lo::prop;

namespace {

Reference<XPresentation2> presentationOf(const Reference<css::lang::XComponent>& doc) {
    Reference<css::presentation::XPresentationSupplier> ps(doc, UNO_QUERY_THROW);
    return Reference<XPresentation2>(ps->getPresentation(), UNO_QUERY_THROW);
}

// The slides the show displays by itself, as indexes of the document's slides: hidden ones
// are passed over by the show, yet its index and a jump to it count them (a jump even
// shows them). Positions 1 … n of the callers are the entries of this list.
std::vector<int> shownSlides(const Reference<css::lang::XComponent>& doc) {
    Reference<css::drawing::XDrawPagesSupplier> s(doc, UNO_QUERY_THROW);
    auto pages = s->getDrawPages();
    std::vector<int> shown;
    for (sal_Int32 i = 0; i < pages->getCount(); ++i) {
        Reference<css::beans::XPropertySet> page(pages->getByIndex(i), UNO_QUERY);
        bool visible = true;
        if (page.is()) page->getPropertyValue("Visible") >>= visible;
        if (visible) shown.push_back(int(i));
    }
    return shown;
}

// Jumps are sent without waiting: the office takes about as long to draw a slide as the
// slide draw's flicker tick lasts, and waiting would keep the user-interface thread busy
// all the time. Jumps that pile up while the office draws collapse into the latest one;
// reading the position runs after every jump sent before it.
class LoSlideShowView : public SlideShowView {
public:
    LoSlideShowView(std::shared_ptr<LoInstance> inst, Reference<XSlideShowController> c, std::vector<int> shown)
        : m_inst(std::move(inst)), m_controller(std::move(c)), m_shown(std::move(shown)),
          m_jump(std::make_shared<Jump>()) {}

    bool GotoSlide(int position) override {
        if (position < 1 || position > int(m_shown.size()) || !m_jump->showRunning) return false;
        const int index = m_shown[position - 1] + 1;
        const auto now = std::chrono::steady_clock::now();
        std::lock_guard lock(m_jump->mutex);
        m_jump->pending = index;
        if (m_jump->queued) {
            // An office that has not taken a jump for a whole call deadline is stuck.
            if (now - m_jump->queuedAt > m_inst->callTimeout()) {
                m_inst->kill("slide jump not taken");
                return false;
            }
            return m_inst->alive();
        }
        m_jump->queued = true;
        m_jump->queuedAt = now;
        return m_inst->send("go to slide", [c = m_controller, jump = m_jump](LoInstance& self) {
            int target;
            {
                std::lock_guard lock(jump->mutex);
                target = jump->pending;
                jump->queued = false;
            }
            if (!c->isRunning()) {
                jump->showRunning = false; // ended by the user
                return;
            }
            c->gotoSlideIndex(target - 1);
            self.wakeEventLoop();
        });
    }

    int CurrentShowPosition() override {
        // An ended show's controller answers -1 rather than failing.
        const int i = m_inst->call("show position", [c = m_controller](LoInstance&) {
                                 return int(c->getCurrentSlideIndex());
                             }).value_or(-1);
        if (i < 0) m_jump->showRunning = false;
        const auto at = std::find(m_shown.begin(), m_shown.end(), i);
        if (at == m_shown.end()) {
            if (i >= 0) qCDebug(lcOfficeLo) << "the show is on hidden slide" << i + 1;
            return 0;
        }
        return int(at - m_shown.begin()) + 1;
    }

private:
    struct Jump {
        std::mutex mutex;
        int pending = 0;
        bool queued = false;
        std::chrono::steady_clock::time_point queuedAt;
        std::atomic<bool> showRunning{true};
    };
    std::shared_ptr<LoInstance> m_inst;
    Reference<XSlideShowController> m_controller;
    std::vector<int> m_shown;
    std::shared_ptr<Jump> m_jump;
};

class LoPresentation : public Presentation {
public:
    LoPresentation(std::shared_ptr<LoInstance> inst, Reference<css::lang::XComponent> doc)
        : m_inst(std::move(inst)), m_doc(std::move(doc)) {}

    bool RunSlideShow() override {
        enum class Start { Failed, Running, Starting, StartingInNewWindow };
        std::shared_ptr<lo::ShowReadiness> readiness;
        const Start start = m_inst->call("start show", [d = m_doc, &readiness](LoInstance&) {
                                       auto pres = presentationOf(d);
                                       auto c = pres->getController();
                                       if (c.is() && c->isRunning()) return Start::Running;
                                       // The office crashes when a show starts from a hidden window.
                                       Reference<css::frame::XModel> m(d, UNO_QUERY_THROW);
                                       auto frame = m->getCurrentController()->getFrame();
                                       auto w = frame->getContainerWindow();
                                       Reference<css::awt::XWindow2> w2(w, UNO_QUERY);
                                       if (w2.is() && w2->isVisible()) return Start::Starting;
                                       readiness = lo::ShowReadiness::watch(frame);
                                       w->setVisible(true);
                                       return Start::StartingInNewWindow;
                                   }).value_or(Start::Failed);
        if (start == Start::Failed) return false;
        if (start == Start::Running) return true;
        if (readiness) {
            const auto outcome = readiness->wait();
            if (outcome != lo::ShowReadiness::Outcome::Ready)
                qCDebug(lcOfficeLo) << "new document window"
                                    << (outcome == lo::ShowReadiness::Outcome::NotActivated ? "not activated"
                                                                                            : "not laid out in time");
        }
        const bool started = m_inst->call("start show", [d = m_doc, readiness](LoInstance& self) {
                                        if (readiness) readiness->stop();
                                        auto pres = presentationOf(d);
                                        Reference<css::beans::XPropertySet> p(pres, UNO_QUERY_THROW);
                                        p->setPropertyValue("IsFullScreen", Any(true));
                                        // The draw's own control strip must stay above the show.
                                        p->setPropertyValue("IsAlwaysOnTop", Any(false));
                                        p->setPropertyValue("IsEndless", Any(false));
                                        p->setPropertyValue("StartWithNavigator", Any(false));
                                        pres->start();
                                        self.wakeEventLoop();
                                        return true;
                                    }).value_or(false);
        if (!started) return false;
        // start() returns at once; the show is up a few polls later.
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (std::chrono::steady_clock::now() < end) {
            auto running = m_inst->call("show running", [d = m_doc](LoInstance&) {
                auto c = presentationOf(d)->getController();
                return c.is() && c->isRunning();
            });
            if (!running) return false;
            if (*running) return true;
            std::this_thread::sleep_for(50ms);
        }
        qCDebug(lcOfficeLo) << "slide show did not come up";
        return false;
    }

    int SlideCount() override {
        return m_inst->call("slide count", [d = m_doc](LoInstance&) { return int(shownSlides(d).size()); })
            .value_or(0);
    }

    std::shared_ptr<SlideShowView> SlideShowWindowView() override {
        auto found = m_inst->call("show view", [d = m_doc](LoInstance&) {
            auto c = presentationOf(d)->getController();
            if (!c.is() || !c->isRunning()) return std::pair(Reference<XSlideShowController>(), std::vector<int>());
            return std::pair(c, shownSlides(d));
        });
        if (!found || !found->first.is()) return nullptr;
        return std::make_shared<LoSlideShowView>(m_inst, found->first, std::move(found->second));
    }

private:
    std::shared_ptr<LoInstance> m_inst;
    Reference<css::lang::XComponent> m_doc;
};

} // namespace

bool LoPresentationApp::SetVisible(bool visible) {
    // Documents stay in hidden windows until their show runs; the flag is kept for the
    // callers' sequence and costs one call so a dead office is noticed.
    return m_inst->call("visible", [visible](LoInstance& self) {
               self.visible = visible;
               return true;
           }).value_or(false);
}

std::shared_ptr<Presentation> LoPresentationApp::Open(const QString& fullPath) {
    const QFileInfo fi(fullPath);
    if (!fi.isFile() || !m_inst->alive()) {
        qCDebug(lcOfficeLo) << "cannot open presentation" << fullPath;
        return nullptr;
    }
    const QString path = fi.absoluteFilePath();
    m_inst->clearStaleLock(path);
    m_inst->noteOpenedFile(path);
    auto doc = m_inst->call("open presentation", [url = lo::fileUrl(path)](LoInstance& self) {
        for (const auto& d : self.documents)
            if (d.url == url) return d.component;
        std::vector<css::beans::PropertyValue> args{
            prop("Hidden", Any(true)), prop("ReadOnly", Any(false)),
            prop("MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)),
            prop("UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE))};
        Reference<css::frame::XComponentLoader> loader(self.desktop, UNO_QUERY_THROW);
        auto component = loader->loadComponentFromURL(url, "_blank", 0, lo::sequence(args));
        Reference<css::presentation::XPresentationSupplier> ps(component, UNO_QUERY);
        if (!ps.is()) {
            Reference<css::util::XCloseable> closeable(component, UNO_QUERY);
            if (closeable.is()) closeable->close(true); // not a presentation
            return Reference<css::lang::XComponent>();
        }
        self.documents.push_back({component, url});
        return component;
    });
    if (!doc || !doc->is()) return nullptr;
    return std::make_shared<LoPresentation>(m_inst, *doc);
}

bool LoPresentationApp::Quit() { return m_inst->quit(); }

bool LoPresentationApp::IsRunning() { return m_inst->alive(); }

qint64 LoPresentationApp::ProcessId() const { return m_inst->alive() ? m_inst->pid() : 0; }

} // namespace vexlo::office
