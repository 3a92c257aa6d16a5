#pragma once

#include "NameDrawWindow.h"

namespace namelists {

// Form4, the name-list draw: people drawn from name.xls, the draw number in column C.
class ListDrawWindow : public NameDrawWindow {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form4;
    explicit ListDrawWindow(AppContext& ctx);

    static DrawWindowSpec makeSpec();
};

} // namespace namelists
