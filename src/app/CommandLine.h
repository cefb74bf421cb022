#pragma once

#include "shell/FileToOpen.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the program was asked on its command line:
//
//   ferrolan [--new-instance] [+行] 文件[:行[:列]] …
//
// Relative paths are taken from the working directory the command was given
// in (a second start hands both to the running program).
struct CommandLine
{
    enum class Action { Start, ShowHelp, ShowVersion, Refuse };

    Action action = Action::Start;
    QList<FileToOpen> files;
    bool newInstance = false;
    QString text; // what help, version or a refusal prints

    static CommandLine Parse(const QStringList &arguments, const QString &workingDir);
};
