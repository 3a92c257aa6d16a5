#pragma once

#include "core/Form.h"

#include <memory>

namespace vexlo::office {
class PresentationApp;
class Presentation;
class SlideShowView;
} // namespace vexlo::office

namespace draws {

// Form8, the player of the instruction presentations: its load shows the file the launcher
// named full screen in the presentation program, its one button closes the show again. The
// window itself is never shown; the launcher, the main window's hint and the exit press its
// button directly.
class PresentationPlayer : public Form {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form8;
    explicit PresentationPlayer(AppContext& ctx);
    ~PresentationPlayer() override;

    // Whether the load got a show on the screen (for the callers' logs and tests).
    bool showing() const { return m_presentation != nullptr; }
    const std::shared_ptr<vexlo::office::PresentationApp>& app() const { return m_app; }
    const std::shared_ptr<vexlo::office::Presentation>& presentation() const { return m_presentation; }

protected:
    void onLoad() override;
    void onUnload() override;

private:
    void close();
    void release();

    std::shared_ptr<vexlo::office::PresentationApp> m_app;
    std::shared_ptr<vexlo::office::Presentation> m_presentation;
    std::shared_ptr<vexlo::office::SlideShowView> m_view;
    bool m_panelHidden = false;
    bool m_closing = false;
};

// The full path of a bare data-file name in the application folder, found in any case as
// the names were given on a case-insensitive file system; the plain join when absent.
QString presentationPath(const AppContext& ctx, const QString& bareName);

} // namespace draws
