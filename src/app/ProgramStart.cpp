#include "ProgramStart.h"

#include "CommandLine.h"
#include "DeveloperPalette.h"
#include "SingleInstance.h"
#include "platform/QtTranslations.h"
#include "shell/ProgramIcon.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>
#include <optional>

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

namespace {

void Describe()
{
    QCoreApplication::setApplicationName(QStringLiteral("ferrolan"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FERROLAN_VERSION));
}

// Qt's own options (-platform, -style, ...) are taken off the command line
// by QApplication alone: a command line with any of them is read after the
// window system is up.
bool OnlyOurOptions(int argc, char *argv[])
{
    static const QStringList ours{QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("-v"),
                                  QStringLiteral("--version"), QStringLiteral("--new-instance")};
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--"))
            return true;
        if (argument.startsWith(QLatin1Char('-')) && !ours.contains(argument))
            return false;
    }
    return true;
}

// What the command line asks, decided before any window: help, version or a
// refusal, files handed to the program already running, or a start of our
// own (listening for later starts unless --new-instance).
struct StartDecision
{
    CommandLine line;
    QString serverName;
    std::unique_ptr<StartLock> lock; // held until this start listens
    bool listen = false;
};

std::optional<int> Decide(StartDecision &decision)
{
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString workingDir = QDir::currentPath();
    decision.line = CommandLine::Parse(arguments, workingDir);
    if (decision.line.action != CommandLine::Action::Start)
        return Answer(decision.line);
    if (decision.line.newInstance)
        return std::nullopt;
    decision.serverName = SingleInstance::ServerName();
    decision.lock = std::make_unique<StartLock>(decision.serverName);
    switch (SingleInstance::HandOver(decision.serverName, workingDir, arguments)) {
    case SingleInstance::HandOverResult::Taken:
        return 0;
    case SingleInstance::HandOverResult::NoOne:
        decision.listen = true;
        break;
    case SingleInstance::HandOverResult::NoAnswer: // it hangs: start apart, leave its socket alone
        break;
    }
    return std::nullopt;
}

} // namespace

int Run(int argc, char *argv[])
{
    // Help, version and a hand-over need no window system: deciding them
    // on a bare core application keeps a second start short.
    StartDecision decision;
    bool decided = false;
    if (OnlyOurOptions(argc, argv)) {
        QCoreApplication core(argc, argv);
        Describe();
        if (const std::optional<int> exitCode = Decide(decision))
            return *exitCode;
        decided = true;
    }

    QApplication app(argc, argv);
    DeveloperPalette::ApplyFromEnvironment();
    QtTranslations::Install(app);
    Describe();
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopId));
    QApplication::setWindowIcon(ProgramIcon::Icon());
    if (!decided)
        if (const std::optional<int> exitCode = Decide(decision))
            return *exitCode;

    SingleInstance instance;
    if (decision.listen)
        instance.Listen(decision.serverName);
    decision.lock.reset();

    frmMain window(nullptr, decision.line.files);
    ReceiveLaterStarts(instance, window);
    window.show();
    // With no files named, the last session's files come back (a setting).
    if (decision.line.files.isEmpty())
        window.OpenAtStart({});
    return app.exec();
}

} // namespace ProgramStart
