#pragma once

#include <QPixmap>

// The About box's background: 378 x 209 pixels, drawn here rather than
// shipped, so it is ours and sharp at any scale.
class AboutPicture
{
public:
    static constexpr int Width = 378;
    static constexpr int Height = 209;

    static QPixmap Draw(qreal scale = 1.0);
};
