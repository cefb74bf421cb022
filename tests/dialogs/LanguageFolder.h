#pragma once

#include "TestFiles.h"
#include "highlight/modHighlighter.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

// A folder of small language files, loaded into the highlighter table the
// way start-up loads the shipped ones.
class LanguageFolder : public TestFiles
{
protected:
    static constexpr const char *Default32 = "Style[32]=:::V:C:::Courier New:10:0:16777215::\r\n";

    QString WriteChl(const QString &name, const QByteArray &keys) const
    {
        return Write(name, QByteArray("[data]\r\n") + keys);
    }

    void LoadFolder() const
    {
        ResetHighlighterTable();
        LoadHighlighters(dir.path());
    }

    // A control of a dialog by its name; a missing one fails the test.
    template <typename T>
    static T *Child(QWidget *dialog, const char *name)
    {
        T *child = dialog->findChild<T *>(QString::fromLatin1(name));
        if (!child)
            throw std::runtime_error(std::string("no control ") + name);
        return child;
    }
};
