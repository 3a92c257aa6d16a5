#pragma once

#include "NumberPool.h"

#include "core/Form.h"

#include <memory>

namespace vexlo::office {
class PresentationApp;
class Presentation;
class SlideShowView;
} // namespace vexlo::office

namespace draws {

// Form5, the slide draw: each slide of MYPPT.ppt is one lot. Its load starts the slide
// show; the small strip floats above it: "准备" flickers through random slides, "抽签"
// stops on a slide not drawn in this round, "退出" ends the show and returns to the main
// window.
class SlideDraw : public Form {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form5;
    explicit SlideDraw(AppContext& ctx);
    ~SlideDraw() override;

    // The slide count the presentation reported, and the slides taking part (at most 600).
    int slideTotal() const { return m_slideTotal; }
    const NumberPool& pool() const { return m_pool; }
    int pickedSlide() const { return m_pickedSlide; }
    int rollingSlide() const { return m_rollingSlide; }
    const std::shared_ptr<vexlo::office::PresentationApp>& app() const { return m_app; }
    // Flicker ticks handled since the load (for the benchmarks).
    long flickerTicks() const { return m_flickerTicks; }

protected:
    void onLoad() override;
    void onUnload() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* c(const char* name) const { return controlWidget(QLatin1String(name)); }
    void prepare();
    void flicker();
    void draw();
    void finish();
    // Nothing to draw from: the user is told why and gets the main window back.
    void giveUp(const QString& message);
    void releaseOffice();

    std::shared_ptr<vexlo::office::PresentationApp> m_app;
    std::shared_ptr<vexlo::office::Presentation> m_presentation;
    std::shared_ptr<vexlo::office::SlideShowView> m_view;
    int m_slideTotal = 0;
    NumberPool m_pool;
    bool m_ready = false; // a presentation with slides is shown
    int m_pickedSlide = 0;
    int m_rollingSlide = 0;
    long m_flickerTicks = 0;
    bool m_panelHidden = false;
    bool m_closing = false;
};

} // namespace draws
