#pragma once

#include "ScriptedMessageBox.h"
#include "TestFiles.h"
#include "highlight/modHighlighter.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

// The main window as the program starts it: no saved placement, the shipped
// languages beside the program, one new document, message boxes answered
// by the script.
class MainWindowFixture : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferrolan"), QStringLiteral("ScintillaMDI"))
            .clear();
        ResetHighlighterTable();
        window = std::make_unique<frmMain>();
        window->show();
        QApplication::processEvents();
    }

    ScriptedMessageBox boxes;
    std::unique_ptr<frmMain> window;
};
