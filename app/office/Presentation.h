#pragma once

#include <memory>

namespace vexlo::office {

class SlideShowView;

// An opened presentation.
class Presentation {
public:
    virtual ~Presentation() = default;

    // Starts its slide show full screen; true once the show runs.
    virtual bool RunSlideShow() = 0;
    // Number of slides the show displays (hidden ones left out), or 0 when the
    // presentation no longer answers.
    virtual int SlideCount() = 0;
    // The running show's view, or null when no show runs.
    virtual std::shared_ptr<SlideShowView> SlideShowWindowView() = 0;
};

} // namespace vexlo::office
