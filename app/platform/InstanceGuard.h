#pragma once

#include <QString>

#include <functional>

namespace platform {

// Detects another running instance of this program on the same desktop.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // Claims the instance for this process; false when another live instance holds it.
    virtual bool claim() = 0;
    // Hands a request to the instance that holds the claim; true when it took it.
    virtual bool ask(const QString& request) {
        (void)request;
        return false;
    }
    // In the instance that holds the claim: what another start's request does; the
    // handler says whether it took the request.
    void onAsked(std::function<bool(const QString&)> handler) { m_asked = std::move(handler); }

protected:
    bool answer(const QString& request) { return m_asked && m_asked(request); }

private:
    std::function<bool(const QString&)> m_asked;
};

} // namespace platform
