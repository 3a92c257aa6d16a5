#pragma once

#include "ComponentProbe.h"

#include <QList>
#include <QObject>

struct MissingComponent {
    QString name;
    QString package;
    bool operator==(const MissingComponent&) const = default;
};

// Runs every probe, in order, on a thread of its own, so the window keeps painting while an
// office starts; the result arrives on the UI thread.
class ComponentCheck : public QObject {
    Q_OBJECT
public:
    explicit ComponentCheck(ComponentProbes probes, QObject* parent = nullptr);
    // Asks a check still running to stop and waits a little for it, so an office it started
    // is ended before the process goes away.
    ~ComponentCheck() override;

    void start();

signals:
    void finished(const QList<MissingComponent>& missing);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
    ComponentProbes m_probes;
    bool m_started = false;
};
