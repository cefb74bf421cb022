#pragma once

#include "ScriptedFileDialog.h"
#include "ScriptedMessageBox.h"
#include "TestFiles.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "shell/MainActions.h"
#include "shell/frmDoc.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

// The main window as the program starts it: no saved settings, the shipped
// languages beside the program (after any of the test's own), one new
// document; message boxes and file dialogs answered by the script.
class MainWindowFixture : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override
    {
        for (const char *app : {"ScintillaMDI", "ScintillaClass"})
            QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferrolan"), QString::fromLatin1(app))
                .clear();
        ResetHighlighterTable();
    }

    void TearDown() override { window.reset(); }

    // Starts the main window; one that runs already goes first, as if the
    // program ended and started again.
    frmMain &Start()
    {
        window.reset();
        window = std::make_unique<frmMain>();
        window->show();
        window->activateWindow();
        QApplication::processEvents();
        return *window;
    }

    // Replaces the table with small languages of our own.
    void UseLanguages(const QList<std::pair<QString, QString>> &nameAndFilter)
    {
        ResetHighlighterTable();
        int n = 0;
        for (const auto &[name, filter] : nameAndFilter) {
            const QString path = Path(QStringLiteral("lang%1.CHL").arg(n++));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QStringLiteral("[data]\r\nLangName=%1\r\nLanguage=3\r\nFilter=%2\r\n"
                                      "Style[32]=:::V:C:::Courier New:10:0:16777215::\r\n")
                           .arg(name, filter)
                           .toUtf8());
            file.close();
            LoadHighlighter(path);
        }
    }

    MainActions &Actions() const { return *window->Actions(); }
    frmDoc *Active() const { return window->ActiveDocument(); }
    clsScintilla &Editor() const { return *Active()->sciMain; }

    ScriptedMessageBox boxes;
    ScriptedFileDialog dialogs;
    std::unique_ptr<frmMain> window;
};
