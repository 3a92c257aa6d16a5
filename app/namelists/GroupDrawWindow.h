#pragma once

#include "NameDrawWindow.h"

#include <QVariant>

namespace namelists {

// Whether two group cells name the same group, compared as the spreadsheet holds them:
// numbers by value, texts ("一组") by their characters; a number never equals a text, as
// the sort never puts them next to each other.
bool sameGroup(const QVariant& a, const QVariant& b);

// Form9, the group draw: everybody in name1.xls drawn (draw number in column E), then the
// list shown sorted by group (column D) and draw number with each person's rank in the
// group in column F. The sorted view is only read: it is never saved.
class GroupDrawWindow : public NameDrawWindow {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form9;
    explicit GroupDrawWindow(AppContext& ctx);

    static DrawWindowSpec makeSpec();

    void sortResults(); // Command7

protected:
    void beforeEditAction() override;
    void editModeChosen(bool resultsMode) override;
    bool savesOnConfirm() const override;
    bool holdsThrowawayView() const override;

private:
    void writeGroupRanks(int totalCount);
};

} // namespace namelists
