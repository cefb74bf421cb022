#include "ProgramStart.h"

#include "CommandLine.h"
#include "SingleInstance.h"
#include "shell/ProgramIcon.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace ProgramStart {

namespace {

// --help and --version answer on the terminal and end; a command line that
// is refused says why on the error output.
int Answer(const CommandLine &line)
{
    const QByteArray text = line.text.toLocal8Bit();
    std::FILE *out = line.action == CommandLine::Action::Refuse ? stderr : stdout;
    std::fwrite(text.constData(), 1, size_t(text.size()), out);
    return line.action == CommandLine::Action::Refuse ? 2 : 0;
}

} // namespace

void ReceiveLaterStarts(SingleInstance &instance, frmMain &window)
{
    QObject::connect(&instance, &SingleInstance::Arrived, &window,
                     [&window](const QString &workingDir, const QStringList &arguments) {
                         window.BringToFront();
                         const CommandLine line = CommandLine::Parse(arguments, workingDir);
                         if (line.action == CommandLine::Action::Start)
                             window.OpenFiles(line.files);
                     });
}

int Run(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ferrolan"));
    QApplication::setApplicationVersion(QStringLiteral(FERROLAN_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopId));
    QApplication::setWindowIcon(ProgramIcon::Icon());

    const QStringList arguments = QApplication::arguments().mid(1);
    const QString workingDir = QDir::currentPath();
    const CommandLine line = CommandLine::Parse(arguments, workingDir);
    if (line.action != CommandLine::Action::Start)
        return Answer(line);

    const QString serverName = SingleInstance::ServerName();
    SingleInstance instance;
    if (!line.newInstance) {
        StartLock lock(serverName);
        switch (SingleInstance::HandOver(serverName, workingDir, arguments)) {
        case SingleInstance::HandOverResult::Taken:
            return 0;
        case SingleInstance::HandOverResult::NoOne:
            instance.Listen(serverName);
            break;
        case SingleInstance::HandOverResult::NoAnswer: // it hangs: start apart, leave its socket alone
            break;
        }
    }

    frmMain window(nullptr, line.files);
    ReceiveLaterStarts(instance, window);
    window.show();
    return app.exec();
}

} // namespace ProgramStart
