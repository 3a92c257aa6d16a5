#pragma once

#include "LibreOfficeOptions.h"
#include "LoInstance.h"
#include "LoRegistry.h"
#include "LoWaitOffUiThread.h"
#include "LoWarmOffices.h"

#include <memory>
#include <mutex>

namespace vexlo::office {

// What the suite's handles share: the options and the way to start a registered office.
class LoSuiteCore {
public:
    LibreOfficeOptions options;
    QString programDir;
    QString profileRoot;

    // The office started ahead for this kind if there is one, else a new one. A start
    // takes seconds, more under load: the windows do not stand still meanwhile.
    std::shared_ptr<lo::LoInstance> start(lo::LoInstance::Kind kind) {
        std::shared_ptr<lo::LoInstance> inst;
        auto takeOrStart = [&] {
            inst = warm.take(kind);
            if (!inst) inst = lo::LoInstance::start(kind, options, programDir, profileRoot);
        };
        // The hidden office that writes files is started under a lock of its own.
        if (kind == lo::LoInstance::Kind::Utility)
            takeOrStart();
        else
            lo::runOffUiThread(takeOrStart, options.busy);
        if (inst) lo::LoRegistry::instance().add(inst, this);
        return inst;
    }

    lo::WarmOffices warm{[this](lo::LoInstance::Kind kind) {
        return lo::LoInstance::start(kind, options, programDir, profileRoot);
    }};

    // The hidden office that writes fixture and data files; started on first use.
    std::shared_ptr<lo::LoInstance> utility(bool startIfNeeded = true) {
        std::lock_guard lock(m_utilityMutex);
        if (startIfNeeded && (!m_utility || !m_utility->alive())) m_utility = start(lo::LoInstance::Kind::Utility);
        return m_utility;
    }
    void dropUtility() {
        std::lock_guard lock(m_utilityMutex);
        m_utility.reset();
    }

private:
    std::mutex m_utilityMutex;
    std::shared_ptr<lo::LoInstance> m_utility;
};

} // namespace vexlo::office
