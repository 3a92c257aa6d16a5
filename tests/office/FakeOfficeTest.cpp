// The shared scenarios against the in-memory fake, and the fault switches that only the
// fake has.

#include "FakeTestBackend.h"
#include "PresentationScenarios.h"
#include "SpreadsheetScenarios.h"
#include "office/fake/FakeSpreadsheet.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, SpreadsheetScenarios, FakeBackend);
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, PresentationScenarios, FakeBackend);

namespace {

class FakeFaultsTest : public OfficeScenario<FakeBackend> {
protected:
    FakeOfficeWorld& world() { return FakeTestBackend::get().world(); }
};

TEST_F(FakeFaultsTest, EachSwitchBreaksItsStepOnly) {
    struct Case {
        const char* name;
        void (*set)(FakeFaults&);
        bool opens;
        bool sheet;
    };
    const Case cases[] = {
        {"none", [](FakeFaults&) {}, true, true},
        {"file missing", [](FakeFaults& f) { f.fileMissing = true; }, false, false},
        {"wrong password", [](FakeFaults& f) { f.wrongPassword = true; }, false, false},
        {"sheet missing", [](FakeFaults& f) { f.sheetMissing = true; }, true, false},
    };
    const QString file = writeNameList();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        world().faults = {};
        c.set(world().faults);
        auto app = suite().createSpreadsheetApp();
        ASSERT_TRUE(app);
        auto wb = app->Open(file, kPassword);
        EXPECT_EQ(bool(wb), c.opens);
        EXPECT_EQ(bool(wb && wb->SelectWorksheet("sheet1")), c.sheet);
        EXPECT_TRUE(app->Quit());
    }
}

TEST_F(FakeFaultsTest, ProgramDiesMidSession) {
    const QString file = writeNameList();
    auto app = suite().createSpreadsheetApp();
    ASSERT_TRUE(app);
    auto sheet = app->Open(file, kPassword)->SelectWorksheet("sheet1");
    ASSERT_TRUE(sheet);
    world().faults.dieAfterCalls = 4; // two calls answered so far, two more to go
    EXPECT_TRUE(sheet->Value(13, 1));
    EXPECT_TRUE(sheet->Value(14, 1));
    EXPECT_FALSE(sheet->Value(15, 1));
    EXPECT_FALSE(app->IsRunning());
    EXPECT_FALSE(app->SaveActiveWorkbook());
    EXPECT_TRUE(suite().ownProcessIds().isEmpty());
}

TEST_F(FakeFaultsTest, SavesAndVisibilityAreInspectable) {
    const QString file = writeNameList();
    auto app = suite().createSpreadsheetApp();
    auto* fake = dynamic_cast<FakeSpreadsheetApp*>(app.get());
    ASSERT_TRUE(fake);
    auto sheet = app->Open(file, kPassword)->SelectWorksheet("sheet1");
    EXPECT_FALSE(fake->isVisible());
    EXPECT_TRUE(app->SetVisible(true));
    EXPECT_TRUE(fake->isVisible());
    EXPECT_TRUE(fake->activeDocument()->windowVisible);
    EXPECT_EQ(world().workbookFile(file)->saves, 0);
    EXPECT_TRUE(sheet->SetValue(13, 3, 9));
    EXPECT_EQ(world().readWorkbookFile(file, kPassword)->sheets[0].cells.value({13, 3}), QVariant(2.0));
    EXPECT_TRUE(app->SaveActiveWorkbook());
    EXPECT_EQ(world().workbookFile(file)->saves, 1);
    EXPECT_EQ(world().readWorkbookFile(file, kPassword)->sheets[0].cells.value({13, 3}), QVariant(9.0));
    EXPECT_FALSE(world().readWorkbookFile(file, "other"));
}

TEST_F(FakeFaultsTest, SuiteEndsItsProgramsWhenDestroyed) {
    auto world = std::make_shared<FakeOfficeWorld>();
    qint64 pid = 0;
    {
        FakeOfficeSuite suite(world);
        auto app = suite.createPresentationApp();
        pid = app->ProcessId();
        EXPECT_TRUE(world->isRunning(pid));
    }
    EXPECT_FALSE(world->isRunning(pid));
}

} // namespace
