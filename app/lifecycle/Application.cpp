#include "Application.h"

#include "ExitControl.h"
#include "Startup.h"

#include "desktop/DesktopWiring.h"
#include "draws/DrawsWiring.h"
#include "namelists/NamelistsWiring.h"
#include "timer/MainWindow.h"

Application::Application(platform::Platform& platform, QString appDir) : m_ctx(platform, std::move(appDir)) {
    registerForms();
}

void Application::registerForms() {
    m_ctx.forms.setFactory(FormId::Form1, [](AppContext& ctx) {
        auto window = std::make_unique<MainWindow>(ctx);
        Startup::attach(*window);
        ExitControl::attach(*window);
        desktop::attachToMainWindow(*window);
        draws::attachToMainWindow(*window);
        return window;
    });
    desktop::registerWindows(m_ctx.forms);
    draws::registerWindows(m_ctx.forms);
    namelists::registerWindows(m_ctx.forms);
}

bool Application::start() {
    Form* main = m_ctx.forms.ref(FormId::Form1);
    if (m_ctx.forms.ended() || !m_ctx.forms.isLoaded(FormId::Form1))
        return false;
    main->show();
    return true;
}
