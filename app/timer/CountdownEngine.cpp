#include "CountdownEngine.h"

#include "MainWindow.h"
#include "MainWindowTexts.h"
#include "TimerAlerts.h"

#include "core/AppContext.h"
#include "core/FormLayout.h"
#include "core/FormTimer.h"
#include "core/NumberRules.h"
#include "platform/Platform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QStringList idleOnlyLabels = {QStringLiteral("Label1"),  QStringLiteral("Label2"),  QStringLiteral("Label22"),
                                    QStringLiteral("Label29"), QStringLiteral("Label28"), QStringLiteral("Label30")};
}

CountdownEngine::CountdownEngine(MainWindow& window, TimerAlerts& alerts)
    : QObject(&window), m_window(window), m_alerts(alerts),
      m_presets{{{"01", "00", "00", "30"}, {"01", "01", "00", "31"}, {"01", "02", "00", "32"}}} {
    auto edit = [&](const char* n) { return window.control<QLineEdit>(QLatin1String(n)); };
    auto label = [&](const char* n) { return window.control<QLabel>(QLatin1String(n)); };
    auto button = [&](const char* n) { return window.control<QPushButton>(QLatin1String(n)); };
    m_text1 = edit("Text1");
    m_text2 = edit("Text2");
    m_text4 = edit("Text4");
    m_text5 = edit("Text5");
    for (int i = 0; i < 3; ++i)
        m_options[i] = window.control<QRadioButton>(QStringLiteral("Option%1").arg(i + 1));
    m_options[0]->setChecked(true);
    m_label3 = label("Label3");
    m_label7 = label("Label7");
    m_label8 = label("Label8");
    m_label18 = label("Label18");
    m_label31 = label("Label31");
    m_command1 = button("Command1");
    m_command2 = button("Command2");
    m_command3 = button("Command3");
    m_command4 = button("Command4");
    m_command5 = button("Command5");

    connect(m_command1, &QPushButton::clicked, this, &CountdownEngine::start);
    connect(m_command2, &QPushButton::clicked, this, &CountdownEngine::pauseOrContinue);
    connect(m_command3, &QPushButton::clicked, this, &CountdownEngine::stop);
    for (int i = 0; i < 3; ++i)
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { choosePreset(i + 1); });
    for (QLineEdit* field : {m_text1, m_text2, m_text4, m_text5})
        connect(field, &QLineEdit::textChanged, this, [this, field] { fieldEdited(field); });
    window.setValidator(QStringLiteral("Text4"), [this] { return checkSeconds(m_text4); });
    window.setValidator(QStringLiteral("Text5"), [this] { return checkSeconds(m_text5); });
    window.timer(QStringLiteral("Timer1"))->setHandler([this] { tick(); });
}

CountdownModel::Times CountdownEngine::readFields() const {
    return {numberRule(m_text1->text()), numberRule(m_text4->text()), numberRule(m_text2->text()),
            numberRule(m_text5->text())};
}

int CountdownEngine::selectedPreset() const {
    for (int i = 0; i < 3; ++i) {
        if (m_options[i]->isChecked())
            return i + 1;
    }
    return 0;
}

void CountdownEngine::setIdleFieldsVisible(bool visible) {
    for (QLineEdit* field : {m_text1, m_text2, m_text4, m_text5})
        field->setVisible(visible);
    for (const QString& name : idleOnlyLabels)
        m_window.controlWidget(name)->setVisible(visible);
}

void CountdownEngine::setPresetsEnabled(bool enabled) {
    for (QRadioButton* option : m_options)
        option->setEnabled(enabled);
    m_label7->setEnabled(enabled);
}

void CountdownEngine::start() {
    AppState& s = m_window.ctx().state;
    if (int n = selectedPreset())
        m_label8->setText(m_options[n - 1]->text());
    setPresetsEnabled(false);
    m_command5->setEnabled(false);

    const CountdownModel::Times t = readFields();
    switch (CountdownModel::check(t)) {
    case CountdownModel::Verdict::TooShort:
        m_window.centreHorizontally();
        m_window.ctx().platform.messages.information(mainTexts::toolTitle, mainTexts::tooShort);
        return;
    case CountdownModel::Verdict::ReminderTooLate:
        m_window.centreHorizontally();
        m_window.ctx().platform.messages.information(mainTexts::hintTitle, mainTexts::reminderTooLate);
        m_text2->setText(QStringLiteral("0"));
        return;
    case CountdownModel::Verdict::Accepted:
        break;
    }

    m_label3->show();
    const CountdownModel::Times again = readFields();
    s.publishedSetMinutes = again.setMinutes;
    s.publishedSetSeconds = again.setSeconds;
    m_label31->setText(
        mainTexts::setTimeLine(again.setMinutes, again.setSeconds, again.reminderMinutes, again.reminderSeconds));
    m_label31->show();
    m_label18->setText(mainTexts::running);
    m_label18->show();
    m_label8->show();
    setIdleFieldsVisible(false);
    m_model.start(again);
    m_label3->setText(mainTexts::display(again.setMinutes, again.setSeconds));
    m_window.timer(QStringLiteral("Timer1"))->setEnabled(true);
    s.countdownState = AppState::Running;
    m_command4->setEnabled(true);
    m_command1->setEnabled(false);
    m_command2->setEnabled(true);
    m_command3->setEnabled(true);
    platform::playSound(m_window.sound(), mainTexts::startSound);
    m_window.show();
    m_window.ctx().forms.unload(FormId::Form2);
}

void CountdownEngine::tick() {
    const CountdownModel::TickResult r = m_model.tick();
    if (r.zeroReached)
        m_alerts.timeUpHandOver();
    if (r.reminderDue)
        m_alerts.reminderHandOver();
    m_label3->setText(m_model.display());
    if (r.zeroReached) {
        m_window.timer(QStringLiteral("Timer3"))->setEnabled(true);
        m_window.timer(QStringLiteral("Timer1"))->setEnabled(false);
        m_command1->setEnabled(false);
        m_command2->setEnabled(false);
        m_command3->setEnabled(false);
        // The state stays Running until the time-up sequence's first tick.
    }
}

void CountdownEngine::pauseOrContinue() {
    AppState& s = m_window.ctx().state;
    s.countdownState = static_cast<int16_t>(-s.countdownState);
    if (s.countdownState == AppState::Paused) {
        m_window.timer(QStringLiteral("Timer1"))->setEnabled(false);
        m_command2->setText(mainTexts::continueCaption);
        m_command2->setToolTip(mainTexts::continueToolTip);
        m_label18->setText(mainTexts::paused);
        setTextColor(m_label18, 255, 0, 0);
        m_label18->show();
        m_label8->show();
        m_window.timer(QStringLiteral("Timer5"))->setEnabled(true);
    } else if (s.countdownState == AppState::Running) {
        m_window.timer(QStringLiteral("Timer1"))->setEnabled(true);
        m_command2->setText(mainTexts::pauseCaption);
        m_command2->setToolTip(mainTexts::pauseToolTip);
        m_label18->setText(mainTexts::running);
        setTextColor(m_label18, 0, 0, 0);
        m_window.timer(QStringLiteral("Timer5"))->setEnabled(false);
        m_command4->setEnabled(true);
    }
}

void CountdownEngine::stop() {
    m_window.centreHorizontally();
    const auto answer = m_window.ctx().platform.messages.askYesNo(mainTexts::hintTitle, mainTexts::confirmStop);
    if (answer != platform::MessageBoxes::Answer::Yes)
        return;
    m_alerts.endSequences();
    returnToIdle();
}

void CountdownEngine::returnToIdle() {
    AppState& s = m_window.ctx().state;
    m_label18->setText(mainTexts::running);
    setTextColor(m_label18, 0, 0, 0);
    setPresetsEnabled(true);
    m_model.restoreFromSnapshot();
    m_command3->setEnabled(false);
    m_command2->setEnabled(false);
    m_command1->setEnabled(true);
    m_window.timer(QStringLiteral("Timer2"))->setEnabled(true);
    s.countdownState = AppState::Idle;
    m_window.timer(QStringLiteral("Timer1"))->setEnabled(false);
    m_window.timer(QStringLiteral("Timer5"))->setEnabled(false);
    m_label18->hide();
    m_label8->hide();
    m_label3->setText(mainTexts::display(m_model.startSnapshot.setMinutes, m_model.startSnapshot.setSeconds));
    m_command2->setText(mainTexts::pauseCaption);
    m_command2->setToolTip(mainTexts::pauseToolTip);
    setIdleFieldsVisible(true);
    m_label31->hide();
    m_label3->hide();
}

void CountdownEngine::choosePreset(int n) {
    for (int i = 0; i < 3; ++i) {
        if (i == n - 1)
            setTextColor(m_options[i], 255, 0, 0);
        else
            setTextColor(m_options[i], 0, 0, 0);
    }
    const TimerPreset p = m_presets.at(n - 1);
    m_text1->setText(p.minutes);
    m_text4->setText(p.seconds);
    m_text2->setText(p.reminderMinutes);
    m_text5->setText(p.reminderSeconds);
    m_window.requestFocus(m_text1);
}

void CountdownEngine::fieldEdited(QLineEdit* field) {
    const int n = selectedPreset();
    if (n == 0)
        return;
    TimerPreset& p = m_presets[n - 1];
    if (field == m_text1)
        p.minutes = field->text();
    else if (field == m_text4)
        p.seconds = field->text();
    else if (field == m_text2)
        p.reminderMinutes = field->text();
    else if (field == m_text5)
        p.reminderSeconds = field->text();
}

bool CountdownEngine::checkSeconds(QLineEdit* field) {
    if (numberRule(field->text()) <= 59)
        return true;
    m_window.ctx().platform.messages.information(mainTexts::hintTitle, mainTexts::secondsRange);
    return false;
}
