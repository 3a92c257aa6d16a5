#pragma once

#include "LoSuiteCore.h"
#include "office/PresentationApp.h"

#include <memory>

namespace vexlo::office {

class LoPresentationApp : public PresentationApp {
public:
    explicit LoPresentationApp(std::shared_ptr<lo::LoInstance> inst) : m_inst(std::move(inst)) {}

    bool SetVisible(bool visible) override;
    std::shared_ptr<Presentation> Open(const QString& fullPath) override;
    bool Quit() override;
    bool IsRunning() override;
    qint64 ProcessId() const override;

private:
    std::shared_ptr<lo::LoInstance> m_inst;
};

} // namespace vexlo::office
