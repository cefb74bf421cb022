#pragma once

#include "Seam.h"

#include <QString>
#include <optional>

class QWidget;

// Asking for one whole number goes through here, so tests can answer (or
// cancel) without a person at the screen.
class NumberInputSeam : public Seam<NumberInputSeam>
{
public:
    // Qt's input dialog.
    static NumberInputSeam &System();

    virtual ~NumberInputSeam() = default;

    // A number from minimum to maximum, or nothing when the user cancelled.
    virtual std::optional<int> AskNumber(QWidget *owner, const QString &title, const QString &label, int value,
                                         int minimum, int maximum) = 0;
};
