#include "FormLayout.h"

#include "FormTimer.h"
#include "Twips.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRadioButton>

Q_LOGGING_CATEGORY(lcLayout, "vexlo.layout")

namespace {

QWidget* createControl(const QString& cls, const QJsonObject& c, QWidget* parent) {
    const QString caption = c.value(QStringLiteral("caption")).toString();
    if (cls == u"Frame") {
        if (!caption.isEmpty()) {
            auto* box = new QGroupBox(caption, parent);
            box->setAutoFillBackground(true); // frames hide what lies beneath them
            return box;
        }
        auto* frame = new QFrame(parent);
        frame->setAutoFillBackground(true);
        if (c.value(QStringLiteral("border")).toBool(true))
            frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        return frame;
    }
    if (cls == u"Label" || cls == u"Image") {
        auto* label = new QLabel(caption, parent);
        if (c.contains(QStringLiteral("image")))
            label->setPixmap(QPixmap(c.value(QStringLiteral("image")).toString()));
        label->setWordWrap(c.value(QStringLiteral("wrap")).toBool(false));
        return label;
    }
    if (cls == u"TextBox") {
        auto* edit = new QLineEdit(caption, parent);
        if (c.contains(QStringLiteral("maxLength")))
            edit->setMaxLength(c.value(QStringLiteral("maxLength")).toInt());
        return edit;
    }
    if (cls == u"CommandButton") {
        auto* button = new QPushButton(caption, parent);
        // Enter presses the focused button as Space does, as buttons do on the desktop
        // these windows come from; Qt gives that only to buttons inside dialogs.
        button->setAutoDefault(true);
        return button;
    }
    if (cls == u"OptionButton")
        return new QRadioButton(caption, parent);
    if (cls == u"ComboBox")
        return new QComboBox(parent);
    qCWarning(lcLayout) << "unknown control class" << cls;
    return new QWidget(parent);
}

Qt::Alignment alignment(const QString& align) {
    if (align == u"center")
        return Qt::AlignCenter;
    if (align == u"right")
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

void applyCommon(QWidget* w, const QJsonObject& c) {
    if (c.contains(QStringLiteral("toolTip")))
        w->setToolTip(c.value(QStringLiteral("toolTip")).toString());
    const QJsonArray g = c.value(QStringLiteral("geometry")).toArray();
    if (g.size() == 4)
        setControlGeometry(w, g[0].toInt(), g[1].toInt(), g[2].toInt(), g[3].toInt());
    const QJsonArray rgb = c.value(QStringLiteral("color")).toArray();
    if (rgb.size() == 3)
        setTextColor(w, rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt());
    const QJsonObject f = c.value(QStringLiteral("font")).toObject();
    if (!f.isEmpty()) {
        QFont font = w->font();
        if (f.contains(QStringLiteral("family")))
            font.setFamilies({f.value(QStringLiteral("family")).toString(), font.family()});
        if (f.contains(QStringLiteral("size")))
            font.setPointSizeF(f.value(QStringLiteral("size")).toDouble());
        if (f.contains(QStringLiteral("pixels")))
            font.setPixelSize(f.value(QStringLiteral("pixels")).toInt());
        font.setBold(f.value(QStringLiteral("bold")).toBool(false));
        w->setFont(font);
    }
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setAlignment(alignment(c.value(QStringLiteral("align")).toString()));
    if (auto* edit = qobject_cast<QLineEdit*>(w); edit && c.contains(QStringLiteral("align")))
        edit->setAlignment(alignment(c.value(QStringLiteral("align")).toString()));
    w->setEnabled(c.value(QStringLiteral("enabled")).toBool(true));
    w->setVisible(c.value(QStringLiteral("visible")).toBool(true));
    // Each control answers the pointer itself, as the windows' handlers expect: moves
    // over a control do not bubble up to the frame or window beneath it.
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_NoMousePropagation);
}

} // namespace

FormLayout FormLayout::build(QWidget* form, const QString& resource) {
    FormLayout layout;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        qCCritical(lcLayout) << "layout missing" << resource;
        return layout;
    }
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject f = root.value(QStringLiteral("form")).toObject();
    layout.caption = f.value(QStringLiteral("caption")).toString();
    layout.width = f.value(QStringLiteral("width")).toInt();
    layout.height = f.value(QStringLiteral("height")).toInt();

    for (const QJsonValue& v : root.value(QStringLiteral("controls")).toArray()) {
        const QJsonObject c = v.toObject();
        const QString name = c.value(QStringLiteral("name")).toString();
        const QString cls = c.value(QStringLiteral("class")).toString();
        const QString parentName = c.value(QStringLiteral("parent")).toString();
        QWidget* parent = parentName.isEmpty() ? form : layout.controls.value(parentName, form);
        if (cls == u"Timer") {
            layout.timers.insert(name, new FormTimer(name, c.value(QStringLiteral("interval")).toInt(),
                                                     c.value(QStringLiteral("enabled")).toBool(false), form));
            continue;
        }
        QWidget* w = createControl(cls, c, parent);
        w->setObjectName(name);
        applyCommon(w, c);
        layout.controls.insert(name, w);
    }
    return layout;
}

void setControlGeometry(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width),
                         twips::toPixels(height));
}

void setControlLeftTop(QWidget* control, int left, int top) {
    control->move(twips::toPixels(left), twips::toPixels(top));
}

void setControlTop(QWidget* control, int top) { control->move(control->x(), twips::toPixels(top)); }

void setTextColor(QWidget* control, int r, int g, int b) {
    QPalette p = control->palette();
    const QColor color(r, g, b);
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    control->setPalette(p);
}
