#include "Components.h"

#include <algorithm>

namespace {

struct ComponentRow {
    Component component;
    int copyOrder;
    int registrationOrder;
};

// The command texts are kept verbatim, double and trailing blanks included.
const QList<ComponentRow>& componentTable() {
    static const QList<ComponentRow> table = {
        {{QStringLiteral("MSSTDFMT.DLL"), QStringLiteral("Regsvr32.EXE  MSSTDFMT.DLL  /s  ")}, 1, 2},
        {{QStringLiteral("MSVBVM60.DLL"), QStringLiteral("Regsvr32.EXE  MSVBVM60.DLL  /s  ")}, 2, 1},
        {{QStringLiteral("COMCTL32.OCX"), QStringLiteral("Regsvr32.EXE  COMCTL32.OCX  /s  ")}, 3, 6},
        {{QStringLiteral("COMDLG32.OCX"), QStringLiteral("Regsvr32.EXE  COMDLG32.OCX  /s  ")}, 4, 5},
        {{QStringLiteral("MCI32.OCX"), QStringLiteral("Regsvr32.EXE  MCI32.OCX  /s  ")}, 5, 4},
        {{QStringLiteral("SYSTRAY.OCX"), QStringLiteral("Regsvr32.EXE  SYSTRAY.OCX  /s  ")}, 6, 3},
    };
    return table;
}

QList<Component> sortedBy(int ComponentRow::*order) {
    QList<ComponentRow> rows = componentTable();
    std::sort(rows.begin(), rows.end(),
              [order](const ComponentRow& a, const ComponentRow& b) { return a.*order < b.*order; });
    QList<Component> components;
    for (const ComponentRow& row : rows)
        components.append(row.component);
    return components;
}

} // namespace

const QList<Component>& componentsInCopyOrder() {
    static const QList<Component> components = sortedBy(&ComponentRow::copyOrder);
    return components;
}

const QList<Component>& componentsInRegistrationOrder() {
    static const QList<Component> components = sortedBy(&ComponentRow::registrationOrder);
    return components;
}

const QStringList& compatibilityExecutableNames() {
    static const QStringList names = {QStringLiteral("\\Vexlo7.56.exe"), QStringLiteral("\\Vexlo7.561.exe")};
    return names;
}

QString compatibilityCommand(const QString& sourceDirectory, const QString& executableName) {
    const QChar quote = u'"';
    return QStringLiteral("REG.EXE ADD ") + quote +
           QStringLiteral(
               "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers") +
           quote + QStringLiteral(" /v ") + quote + sourceDirectory + executableName + quote +
           QStringLiteral(" /t reg_sz /d ") + quote + QStringLiteral("WINXPSP3") + quote +
           QStringLiteral("  /f ");
}
