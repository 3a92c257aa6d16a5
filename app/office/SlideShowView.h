#pragma once

namespace vexlo::office {

// The view of a running slide show. Slide indices are 1-based.
class SlideShowView {
public:
    virtual ~SlideShowView() = default;

    // Shows slide `index`; false when the index is outside the show or the show is gone.
    virtual bool GotoSlide(int index) = 0;
    // The slide now displayed, or 0 when the show no longer answers.
    virtual int CurrentShowPosition() = 0;
};

} // namespace vexlo::office
