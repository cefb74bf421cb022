#include "DigitValidator.h"

#include <QLineEdit>

void DigitValidator::Install(QLineEdit *box)
{
    box->setValidator(new DigitValidator(box));
}

// Any script's decimal digits are written as ASCII ones, which is all the
// box's reader understands.
QValidator::State DigitValidator::validate(QString &input, int &pos) const
{
    QString digits;
    digits.reserve(input.size());
    int newPos = pos;
    for (int i = 0; i < input.size(); ++i) {
        const QChar ch = input.at(i);
        if (ch.isSpace()) {
            if (i < pos)
                --newPos;
            continue;
        }
        if (ch.category() != QChar::Number_DecimalDigit || ch.digitValue() < 0)
            return Invalid;
        digits += QChar(char16_t(u'0' + ch.digitValue()));
    }
    input = digits;
    pos = newPos;
    return Acceptable;
}
