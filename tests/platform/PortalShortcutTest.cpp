#include "FakeShortcutPortal.h"

#include "platform/portal/PortalShortcut.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using platform::PortalShortcut;
using Kind = FakeShortcutPortal::Kind;
using State = PortalShortcut::State;

namespace {

struct PortalCase {
    const char* what;
    bool present;
    Kind kind;
    State state;
    QString trigger;
    QStringList calls;
};

class PortalShortcutTest : public ::testing::TestWithParam<PortalCase> {};

const PortalShortcut::Key f9{QStringLiteral("show-timer"), QStringLiteral("bring the timer back"),
                             QStringLiteral("F9"), QStringLiteral("vexlo_timer")};

TEST_P(PortalShortcutTest, BindsWhereThePortalLetsItAndHearsOnlyItsOwnFreshPresses) {
    const PortalCase& c = GetParam();
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
    std::unique_ptr<FakeShortcutPortal> portal;
    if (c.present)
        portal = std::make_unique<FakeShortcutPortal>(bus.connect(QStringLiteral("portal")), c.kind);
    qint64 now = 0;
    PortalShortcut shortcut(bus.connect(QStringLiteral("program")), f9, [&now] { return now; });
    QSignalSpy settled(&shortcut, &PortalShortcut::stateChanged);

    shortcut.start();
    ASSERT_EQ(shortcut.state(), State::Asking);
    ASSERT_TRUE(settled.wait(5000)) << c.what;
    EXPECT_EQ(shortcut.state(), c.state) << c.what;
    EXPECT_EQ(shortcut.trigger(), c.trigger) << c.what;
    if (portal) EXPECT_EQ(portal->calls(), c.calls) << c.what;
    if (c.state != State::Bound) return;

    QSignalSpy activated(&shortcut, &PortalShortcut::activated);
    portal->activate(portal->session(), QStringLiteral("another-key"));
    portal->activate(portal->session() + QStringLiteral("_other"), f9.id);
    portal->activate(portal->session(), f9.id);
    ASSERT_TRUE(activated.wait(5000));
    activated.wait(300); // time for a wrongly heard one to come too
    EXPECT_EQ(activated.count(), 1) << "only our key of our session counts";
    now += 400;
    EXPECT_TRUE(shortcut.takeActivation());
    EXPECT_FALSE(shortcut.takeActivation()) << "a press counts once";

    portal->activate(portal->session(), f9.id);
    ASSERT_TRUE(activated.wait(5000));
    now += 600;
    EXPECT_FALSE(shortcut.takeActivation()) << "a press nobody asked about for long is stale";
}

INSTANTIATE_TEST_SUITE_P(
    Portals, PortalShortcutTest,
    ::testing::Values(
        PortalCase{"Plasma 5.27 binds what the session names",
                   true,
                   Kind::BindsWithSession,
                   State::Bound,
                   QStringLiteral("F9"),
                   {QStringLiteral("CreateSession")}},
        PortalCase{"Plasma 5.27 keeps a key the user cleared: bound, without a key",
                   true,
                   Kind::KeyClearedBefore,
                   State::Bound,
                   {},
                   {QStringLiteral("CreateSession")}},
        PortalCase{"later portals bind on request",
                   true,
                   Kind::BindsOnRequest,
                   State::Bound,
                   QStringLiteral("F9"),
                   {QStringLiteral("CreateSession"), QStringLiteral("BindShortcuts")}},
        PortalCase{"the user declines",
                   true,
                   Kind::UserDeclines,
                   State::Unavailable,
                   {},
                   {QStringLiteral("CreateSession"), QStringLiteral("BindShortcuts")}},
        PortalCase{
            "a portal without global shortcuts", true, Kind::WithoutShortcuts, State::Unavailable, {}, {}},
        PortalCase{"no portal at all", false, Kind::BindsWithSession, State::Unavailable, {}, {}}));

} // namespace
