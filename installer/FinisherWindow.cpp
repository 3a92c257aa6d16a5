#include "FinisherWindow.h"

#include "FinisherTexts.h"
#include "Logging.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kWindowWidth = 480;
constexpr int kMinimumHeight = 150;
constexpr int kMargin = 24;
constexpr int kTimer1Interval = 1000;
constexpr int kLastTickBeforeClose = 12;

} // namespace

FinisherWindow::FinisherWindow(FileSystem& fileSystem, CommandStarter& starter, FinisherSettings settings,
                               ComponentProbes probes, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      m_fileSystem(fileSystem), m_starter(starter), m_settings(std::move(settings)),
      m_probes(std::move(probes)), m_label1(new QLabel(this)), m_timer1(new QTimer(this)) {
    setWindowTitle(FinisherTexts::windowTitle());

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setText(FinisherTexts::label1DesignText());
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = m_label1->font();
    font.setPointSize(11);
    m_label1->setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(m_label1);

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTimer1Interval);
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, &FinisherWindow::tick);

    fitToText();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FinisherWindow::load() {
    if (m_loaded) return;
    m_loaded = true;
    if (runsTheWindowsSequence(m_settings)) {
        Finisher(m_fileSystem, m_starter, *this).run(m_settings);
        startClosing();
        return;
    }
    showMessage(FinisherTexts::linuxMessage(m_settings.sixtyFourBitSystem));
    auto* check = new ComponentCheck(m_probes, this);
    connect(check, &ComponentCheck::finished, this, &FinisherWindow::checked);
    check->start();
}

void FinisherWindow::checked(const QList<MissingComponent>& missing) {
    if (!missing.isEmpty()) {
        QString text = FinisherTexts::linuxMissingHeading(m_settings.sixtyFourBitSystem);
        for (const MissingComponent& component : missing)
            text += FinisherTexts::linuxMissingLine(component.name, component.package);
        showMessage(text);
    }
    startClosing();
}

void FinisherWindow::startClosing() {
    // The countdown starts whatever the sequence met, so the window always goes away.
    m_timer1->start();
    qCDebug(lcFinisher) << "Timer1 enabled";
}

void FinisherWindow::tick() {
    ++m_tickCount;
    if (m_tickCount <= kLastTickBeforeClose) return;
    m_timer1->stop();
    close();
    emit finished();
}

void FinisherWindow::showMessage(const QString& text) {
    m_label1->setText(text);
    qCDebug(lcFinisher).noquote() << "Label1:" << text;
    fitToText();
}

void FinisherWindow::yieldEvents() {
    QCoreApplication::processEvents();
}

void FinisherWindow::fitToText() {
    // Failure notes can make the text longer than the note the window was made for.
    const int labelWidth = kWindowWidth - 2 * kMargin;
    const int height = std::max(kMinimumHeight, m_label1->heightForWidth(labelWidth) + 2 * kMargin);
    setFixedSize(kWindowWidth, height);
}
