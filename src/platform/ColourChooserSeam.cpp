#include "ColourChooserSeam.h"

#include "ColorRef.h"

#include <QColorDialog>

namespace {

class QtColourChooser : public ColourChooserSeam
{
public:
    std::optional<std::int32_t> ChooseColour(QWidget *owner, std::int32_t initial) override
    {
        const QColor chosen = QColorDialog::getColor(ColorRef::ToQColor(initial), owner, QStringLiteral("颜色"));
        if (!chosen.isValid())
            return std::nullopt;
        return ColorRef::FromQColor(chosen);
    }
};


} // namespace

ColourChooserSeam &ColourChooserSeam::System()
{
    static QtColourChooser system;
    return system;
}
