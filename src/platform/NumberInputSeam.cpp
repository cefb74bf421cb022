#include "NumberInputSeam.h"

#include <QInputDialog>

namespace {

class QtNumberInput : public NumberInputSeam
{
public:
    std::optional<int> AskNumber(QWidget *owner, const QString &title, const QString &label, int value, int minimum,
                                 int maximum) override
    {
        bool ok = false;
        const int chosen = QInputDialog::getInt(owner, title, label, value, minimum, maximum, 1, &ok);
        if (!ok)
            return std::nullopt;
        return chosen;
    }
};

} // namespace

NumberInputSeam &NumberInputSeam::System()
{
    static QtNumberInput system;
    return system;
}
