// Every test run gets Qt's offscreen platform, its own settings, data and
// state directories and its own working directory, so no test ever touches a
// user's files (nor a user's own language definitions, nor the backups of a
// running editor).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir sandbox;
    if (!sandbox.isValid())
        return 2;
    const QString config = sandbox.filePath(QStringLiteral("config"));
    const QString work = sandbox.filePath(QStringLiteral("work"));
    const QString data = sandbox.filePath(QStringLiteral("data"));
    const QString state = sandbox.filePath(QStringLiteral("state"));
    QDir().mkpath(config);
    QDir().mkpath(state);
    QDir().mkpath(work);
    QDir().mkpath(data);
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", sandbox.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", state.toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QDir::setCurrent(work);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
