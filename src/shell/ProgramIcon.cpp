#include "ProgramIcon.h"

namespace ProgramIcon {

QIcon Icon()
{
    static const QIcon icon = [] {
        QIcon sizes;
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
            sizes.addFile(QStringLiteral(":/ferrolan/icons/%1.png").arg(size), QSize(size, size));
        return sizes;
    }();
    return icon;
}

} // namespace ProgramIcon
