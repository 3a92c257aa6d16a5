#include "SetNumber.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

class DigitsOnlyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
                return false; // shortcuts such as paste stay available
            const QString text = key->text();
            if (!text.isEmpty() && text[0].isPrint()) {
                for (QChar ch : text) {
                    if (ch < u'0' || ch > u'9')
                        return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

constexpr const char* filterName = "digitsOnlyStyle";

} // namespace

void SetNumber(QLineEdit* box, bool on) {
    if (!box)
        return;
    auto* existing = box->findChild<QObject*>(QLatin1String(filterName), Qt::FindDirectChildrenOnly);
    if (on && !existing) {
        auto* filter = new DigitsOnlyFilter(box);
        filter->setObjectName(QLatin1String(filterName));
        box->installEventFilter(filter);
    } else if (!on && existing) {
        delete existing;
    }
    box->update();
}

bool hasDigitsOnlyStyle(const QLineEdit* box) {
    return box && box->findChild<QObject*>(QLatin1String(filterName), Qt::FindDirectChildrenOnly);
}
