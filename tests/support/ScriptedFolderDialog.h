#pragma once

#include "SeamDouble.h"
#include "platform/FolderDialogSeam.h"

#include <QStringList>

// Chooses folders from a script (an empty answer cancels) and remembers the
// folder each dialog was asked to start in.
class ScriptedFolderDialog : public SeamDouble<FolderDialogSeam>
{
public:
    void Answer(const QString &folder) { m_answers.append(folder); }

    QString GetExistingDirectory(QWidget *, const QString &, const QString &initialFolder) override
    {
        startedIn.append(initialFolder);
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }

    QStringList startedIn;

private:
    QStringList m_answers;
};
