#include "StateFolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

namespace {

QString StateHome()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    return QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation);
#else
    // A relative XDG_STATE_HOME counts as unset, as freedesktop.org says.
    const QString configured = qEnvironmentVariable("XDG_STATE_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return QDir::cleanPath(configured);
    return QDir::homePath() + QStringLiteral("/.local/state");
#endif
}

} // namespace

QString StateFolder()
{
    return StateHome() + QStringLiteral("/Ferrolan");
}

QString RecoveryFolder()
{
    return StateFolder() + QStringLiteral("/recovery");
}
