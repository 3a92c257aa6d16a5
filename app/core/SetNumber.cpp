#include "SetNumber.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// A validator sees every way text gets into the box: keys, paste, drops and input-method
// commits. Full-width digits from a Chinese input method are the digits the user meant.
class DigitsOnly : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        for (QChar& ch : input) {
            if (ch >= u'０' && ch <= u'９')
                ch = QChar(u'0' + (ch.unicode() - u'０'));
            else if (ch < u'0' || ch > u'9')
                return Invalid;
        }
        return Acceptable;
    }
};

constexpr const char* styleName = "digitsOnlyStyle";

} // namespace

void SetNumber(QLineEdit* box, bool on) {
    if (!box)
        return;
    auto* existing = box->findChild<QValidator*>(QLatin1String(styleName), Qt::FindDirectChildrenOnly);
    if (on && !existing) {
        auto* digits = new DigitsOnly(box);
        digits->setObjectName(QLatin1String(styleName));
        box->setValidator(digits);
    } else if (!on && existing) {
        box->setValidator(nullptr);
        delete existing;
    }
    box->update();
}

bool hasDigitsOnlyStyle(const QLineEdit* box) {
    return box && box->findChild<QValidator*>(QLatin1String(styleName), Qt::FindDirectChildrenOnly);
}
