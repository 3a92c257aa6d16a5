#include "OrderDraw.h"

#include "DrawCount.h"
#include "DrawLauncher.h"
#include "OrderDrawTexts.h"

#include "core/AppContext.h"
#include "core/FormLayout.h"
#include "core/FormTimer.h"
#include "core/RandomSource.h"
#include "core/Twips.h"
#include "platform/Platform.h"
#include "timer/MainWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace draws {

namespace {
constexpr int shownHeight = 8865;
} // namespace

OrderDraw::OrderDraw(AppContext& ctx)
    : Form(ctx, Id, QStringLiteral(":/forms/Form7.json")), m_sound(ctx.platform.sounds.create()) {
    // The design's serif where it exists, its metric twin or another serif elsewhere.
    for (const char* name : {"Label1", "Text1"}) {
        QWidget* w = c(name);
        QFont font = w->font();
        font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                          QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")});
        w->setFont(font);
    }
    // The list is the round's record; it is read and copied, not typed into.
    control<QLineEdit>(QStringLiteral("Text1"))->setReadOnly(true);

    auto button = [this](const char* name) { return control<QPushButton>(QLatin1String(name)); };
    connect(button("Command1"), &QPushButton::clicked, this, &OrderDraw::drawOne);
    connect(button("Command2"), &QPushButton::clicked, this, &OrderDraw::armNext);
    connect(button("Command4"), &QPushButton::clicked, this, &OrderDraw::nextRound);
    connect(button("Command7"), &QPushButton::clicked, this, &OrderDraw::finish);
    setCloseAction([button] { button("Command7")->click(); });
    timer(QStringLiteral("Timer1"))->setHandler([this] { roll(); });

    focusOnHover({QStringLiteral("Command1"), QStringLiteral("Command2"), QStringLiteral("Command4"),
                  QStringLiteral("Command7")});
    enableDragging({QStringLiteral("Frame1"), QStringLiteral("Frame2"), QStringLiteral("Frame3"),
                    QStringLiteral("Label1"), QStringLiteral("Label2"), QStringLiteral("Label3"),
                    QStringLiteral("Label4"), QStringLiteral("Text1")});
}

OrderDraw::~OrderDraw() = default;

void OrderDraw::closeMainPlayer() {
    if (auto* main = qobject_cast<MainWindow*>(ctx().forms.loaded(FormId::Form1)))
        main->sound().command(QStringLiteral("Close"));
}

void OrderDraw::play(const QString& fileName) {
    m_sound->setFileName(fileName);
    closeMainPlayer();
    m_sound->command(QStringLiteral("Close"));
    ctx().yield(1);
    m_sound->command(QStringLiteral("Open"));
    m_sound->command(QStringLiteral("PLAY"));
}

void OrderDraw::onLoad() {
    AppContext& ctx = this->ctx();
    ctx.state.topmostRequest = QStringLiteral("Y");

    auto* draw = control<QPushButton>(QStringLiteral("Command1"));
    draw->setEnabled(true);
    draw->show();
    ctx.yield(1);
    makeTopmost();

    auto* next = control<QPushButton>(QStringLiteral("Command2"));
    auto* status = control<QLabel>(QStringLiteral("Label2"));
    if (next->text() != orderDrawTexts::nextCaption) {
        status->setText(orderDrawTexts::clickDrawToStart);
        next->setText(orderDrawTexts::nextCaption);
    } else {
        status->setText(orderDrawTexts::clickDraw);
    }

    // The opening sound, with the same steps as every later one.
    m_sound->setFileName(orderDrawTexts::startSound);
    closeMainPlayer();
    m_sound->command(QStringLiteral("Close"));

    setControlLeftTop(c("Frame3"), 6240, 150);
    c("Frame1")->resize(twips::toPixels(11415), twips::toPixels(6855));
    c("Label1")->resize(twips::toPixels(10770), twips::toPixels(6615));
    if (Form* launcher = ctx.forms.loaded(FormId::Form2))
        setTop(launcher->Top());
    setLeft(centredLeft());

    ctx.yield(1);
    m_sound->command(QStringLiteral("Open"));
    m_sound->command(QStringLiteral("PLAY"));

    m_pool = NumberPool(orderDrawCount(ctx.state.drawTotal));
    timer(QStringLiteral("Timer1"))->setEnabled(true);
    control<QLabel>(QStringLiteral("Label4"))->setText(orderDrawTexts::listHeading(m_pool.count()));
}

void OrderDraw::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    c("Command1")->show();
    c("Command2")->show();
    requestFocus(c("Command1"));
    for (const char* name : {"Command4", "Command7", "Label1"})
        c(name)->show();
}

void OrderDraw::roll() {
    RandomSource& random = ctx().random;
    random.stir();
    control<QLabel>(QStringLiteral("Label1"))->setText(QString::number(random.pick(m_pool.count())));
}

void OrderDraw::drawOne() {
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    setHeight(shownHeight);
    auto* figure = control<QLabel>(QStringLiteral("Label1"));
    auto* status = control<QLabel>(QStringLiteral("Label2"));
    figure->show();
    status->setText(orderDrawTexts::yourNumber);
    status->show();
    c("Label3")->hide();

    const int n = m_pool.drawUndrawn(ctx().random);
    if (n == 0) // only a round already over gets here; nothing is drawn twice
        return;
    figure->setText(QString::number(n));
    status->show();

    auto* list = control<QLineEdit>(QStringLiteral("Text1"));
    if (list->text().isEmpty())
        list->setText(QString::number(n));
    else
        list->setText(list->text() + orderDrawTexts::listSeparator + QString::number(n));
    list->setCursorPosition(static_cast<int>(list->text().size()));

    m_pool.take(n);
    auto* next = control<QPushButton>(QStringLiteral("Command2"));
    next->setEnabled(true);
    requestFocus(next);

    auto* draw = control<QPushButton>(QStringLiteral("Command1"));
    if (m_pool.exhausted()) {
        c("Label3")->show();
        play(orderDrawTexts::roundOverSound);
        status->hide();
        draw->setEnabled(false);
        next->setEnabled(false);
        c("Command4")->setEnabled(true);
        m_pool.refill();
    }
    draw->setEnabled(false);
}

void OrderDraw::armNext() {
    auto* next = control<QPushButton>(QStringLiteral("Command2"));
    auto* status = control<QLabel>(QStringLiteral("Label2"));
    if (next->text() != orderDrawTexts::nextCaption) {
        status->setText(orderDrawTexts::clickDrawToStart);
        next->setText(orderDrawTexts::nextCaption);
    } else {
        status->setText(orderDrawTexts::clickDraw);
    }
    c("Command1")->setEnabled(true);
    next->setEnabled(false);
    timer(QStringLiteral("Timer1"))->setEnabled(true);
}

void OrderDraw::nextRound() {
    auto* status = control<QLabel>(QStringLiteral("Label2"));
    status->show();
    status->setText(orderDrawTexts::clickDrawToStart);
    control<QLineEdit>(QStringLiteral("Text1"))->clear();
    c("Command4")->setEnabled(false);
    c("Command1")->setEnabled(true);
    c("Command2")->setEnabled(false);
    requestFocus(c("Command1"));
    c("Label3")->hide();
    control<QLabel>(QStringLiteral("Label1"))->setText(QStringLiteral("0"));
    timer(QStringLiteral("Timer1"))->setEnabled(true);
}

void OrderDraw::finish() {
    play(orderDrawTexts::startSound);
    hide();
    if (auto* launcher = qobject_cast<DrawLauncher*>(ctx().forms.ref(FormId::Form2)))
        launcher->showExitConfirmation();
    else
        show(); // never leave the user without a window
}

} // namespace draws
