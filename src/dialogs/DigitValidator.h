#pragma once

#include <QValidator>

class QLineEdit;

// A digits-only box that takes digits however they arrive: typed, pasted,
// or given by an input method (full-width "１２" becomes "12"). Blanks are
// dropped; anything else is refused whole, and the box keeps what it had.
class DigitValidator : public QValidator
{
    Q_OBJECT

public:
    explicit DigitValidator(QObject *parent = nullptr) : QValidator(parent) {}

    // Validates the box's input for as long as the box lives.
    static void Install(QLineEdit *box);

    State validate(QString &input, int &pos) const override;
};
