#include "MainWindow.h"

#include "CountdownEngine.h"
#include "TimerAlerts.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"
#include "platform/Platform.h"

namespace {
QStringList names(const char* prefix, std::initializer_list<int> numbers) {
    QStringList list;
    for (int n : numbers)
        list << QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n);
    return list;
}
} // namespace

MainWindow::MainWindow(AppContext& ctx)
    : Form(ctx, Id, QStringLiteral(":/forms/Form1.json")), m_sound(ctx.platform.sounds.create()),
      m_alerts(new TimerAlerts(*this)), m_engine(new CountdownEngine(*this, *m_alerts)) {
    // It blinks, bounces and comes back on F9 over someone's slide show: it must never
    // take the keyboard from it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    wirePointer();
}

MainWindow::~MainWindow() = default;

void MainWindow::applyLayoutHeight() { setHeight(heightForLayoutMode(ctx().state.layoutMode)); }

void MainWindow::openEnlargedView() {
    Form* enlarged = ctx().forms.ref(FormId::Form6);
    if (!enlarged)
        return;
    hide();
    ctx().state.enlargedViewSignal = 0;
    enlarged->show();
    enlarged->timer(QStringLiteral("Timer1"))->setEnabled(true);
}

void MainWindow::wirePointer() {
    const QStringList frames = names("Frame", {1, 2, 3, 4, 5});
    const QStringList labels = names("Label", {1, 2, 3, 4, 5, 6, 7, 8, 9, 18, 22, 28, 29, 30, 31});
    const QStringList options = names("Option", {1, 2, 3});

    // The hint strip appears under the pointer and stays.
    auto showHint = [this] { controlWidget(QStringLiteral("Frame4"))->show(); };
    onMouseMoveOver(QStringList{QString()} + frames + QStringList{QStringLiteral("Image1")} + labels + options +
                        names("Command", {1, 2, 3, 4, 5, 7}),
                    showHint);
    onMouseMoveOver(QStringList{QString()} + frames +
                        QStringList{QStringLiteral("Image1"), QStringLiteral("Label1"), QStringLiteral("Label2"),
                                    QStringLiteral("Label4"), QStringLiteral("Label30")} +
                        names("Command", {1, 2, 3, 4, 5}),
                    [this] { applyLayoutHeight(); });
    focusOnHover(names("Command", {1, 2, 3, 4, 5, 6, 7}));

    QStringList draggable = names("Frame", {2, 3, 4}) + options;
    for (const QString& l : labels) {
        if (l != QLatin1String("Label4"))
            draggable << l;
    }
    enableDragging(draggable);

    onDoubleClick(QStringLiteral("Label3"), [this] { openEnlargedView(); });
}
