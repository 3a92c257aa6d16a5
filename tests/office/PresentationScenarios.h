#pragma once

// Presentation scenarios written once and run against every backend.

#include "ScenarioSupport.h"
#include "office/Presentation.h"
#include "office/PresentationApp.h"
#include "office/SlideShowView.h"

using namespace vexlo::office;

template <class Backend>
class PresentationScenarios : public OfficeScenario<Backend> {};

TYPED_TEST_SUITE_P(PresentationScenarios);

TYPED_TEST_P(PresentationScenarios, ThreeSlideShowRunsJumpsAndEndsWithQuit) {
    const QString file = this->path(QStringLiteral("MYPPT.ppt"));
    ASSERT_TRUE(this->backend().writePresentation(file, 3));
    auto app = this->suite().createPresentationApp();
    ASSERT_TRUE(app);
    EXPECT_TRUE(app->SetVisible(true));
    auto pres = app->Open(file);
    ASSERT_TRUE(pres);
    EXPECT_FALSE(pres->SlideShowWindowView()) << "no show runs yet";
    ASSERT_TRUE(pres->RunSlideShow());
    EXPECT_EQ(pres->SlideCount(), 3);
    auto view = pres->SlideShowWindowView();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->CurrentShowPosition(), 1);
    for (int slide : {2, 3, 1, 2}) {
        SCOPED_TRACE(slide);
        EXPECT_TRUE(view->GotoSlide(slide));
        EXPECT_EQ(view->CurrentShowPosition(), slide);
    }
    // Outside the show: refused, the show stays where it was.
    for (int slide : {0, 4, -1}) {
        EXPECT_FALSE(view->GotoSlide(slide)) << slide;
        EXPECT_EQ(view->CurrentShowPosition(), 2);
    }
    const qint64 pid = app->ProcessId();
    EXPECT_TRUE(this->suite().ownProcessIds().contains(pid));
    EXPECT_TRUE(app->Quit());
    EXPECT_FALSE(this->backend().processRunning(pid));
    EXPECT_FALSE(view->GotoSlide(1));
    EXPECT_EQ(view->CurrentShowPosition(), 0);
    EXPECT_EQ(pres->SlideCount(), 0);
    // The player quits a second time after letting go; that fails quietly.
    EXPECT_FALSE(app->Quit());
}

TYPED_TEST_P(PresentationScenarios, MissingFileGivesNoPresentation) {
    const QString file = this->path(QStringLiteral("Note1.PPT"));
    ASSERT_TRUE(this->backend().writePresentation(file, 2));
    auto app = this->suite().createPresentationApp();
    ASSERT_TRUE(app);
    EXPECT_FALSE(app->Open(this->path(QStringLiteral("absent.ppt"))));
    auto pres = app->Open(file);
    ASSERT_TRUE(pres);
    EXPECT_EQ(pres->SlideCount(), 2);
    EXPECT_TRUE(app->Quit());
}

TYPED_TEST_P(PresentationScenarios, KilledProgramFailsQuietly) {
    const QString file = this->path(QStringLiteral("MYPPT.ppt"));
    ASSERT_TRUE(this->backend().writePresentation(file, 3));
    auto app = this->suite().createPresentationApp();
    ASSERT_TRUE(app);
    auto pres = app->Open(file);
    ASSERT_TRUE(pres);
    ASSERT_TRUE(pres->RunSlideShow());
    auto view = pres->SlideShowWindowView();
    ASSERT_TRUE(view);
    const qint64 pid = app->ProcessId();
    this->backend().killProcess(pid);
    EXPECT_FALSE(view->GotoSlide(2));
    EXPECT_EQ(view->CurrentShowPosition(), 0);
    EXPECT_EQ(pres->SlideCount(), 0);
    EXPECT_FALSE(pres->SlideShowWindowView());
    EXPECT_FALSE(app->Open(file));
    EXPECT_FALSE(app->Quit());
    EXPECT_FALSE(this->suite().ownProcessIds().contains(pid));

    auto fresh = this->suite().createPresentationApp();
    ASSERT_TRUE(fresh);
    auto again = fresh->Open(file);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->SlideCount(), 3);
    EXPECT_TRUE(fresh->Quit());
}

REGISTER_TYPED_TEST_SUITE_P(PresentationScenarios, ThreeSlideShowRunsJumpsAndEndsWithQuit,
                            MissingFileGivesNoPresentation, KilledProgramFailsQuietly);
