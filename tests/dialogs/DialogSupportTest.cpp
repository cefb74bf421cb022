#include "dialogs/DialogPlacement.h"
#include "dialogs/DigitKeyFilter.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString App = QStringLiteral("ScintillaClass");

TEST(DialogPlacementTest, CentredFirstThenWhereItWasLeft)
{
    SettingsStore::SaveSetting(App, QStringLiteral("Settings"), QStringLiteral("TestLeft"), QString());
    QDialog dialog;
    dialog.resize(300, 200);
    DialogPlacement placement(App, QStringLiteral("TestLeft"), QStringLiteral("TestTop"));
    placement.Restore(&dialog);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(dialog.frameGeometry().left(), (screen.width() - dialog.frameGeometry().width()) / 2, 1);
    EXPECT_NEAR(dialog.frameGeometry().top(), (screen.height() - dialog.frameGeometry().height()) / 2, 1);

    dialog.move(40, 50);
    placement.Save(&dialog);
    EXPECT_EQ(SettingsStore::GetSetting(App, QStringLiteral("Settings"), QStringLiteral("TestLeft")),
              QString::number(dialog.frameGeometry().left() * 15));

    QDialog again;
    again.resize(300, 200);
    placement.Restore(&again);
    EXPECT_EQ(again.frameGeometry().topLeft(), dialog.frameGeometry().topLeft());

    SettingsStore::SaveSetting(App, QStringLiteral("Settings"), QStringLiteral("TestTop"), QStringLiteral("high"));
    QDialog edited;
    edited.resize(300, 200);
    placement.Restore(&edited); // a value edited to hold letters gives the centred default
    EXPECT_NEAR(edited.frameGeometry().top(), (screen.height() - edited.frameGeometry().height()) / 2, 1);
}

TEST(DigitKeyFilterTest, OnlyDigitsAndBackspaceAreTyped)
{
    QLineEdit box;
    DigitKeyFilter::Install(&box);
    box.show();
    QTest::keyClicks(&box, QStringLiteral("1a-. 2"));
    EXPECT_EQ(box.text(), QStringLiteral("12"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("1"));

    QApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.text(), QStringLiteral("1"));
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_3);
    EXPECT_EQ(box.text(), QStringLiteral("31")); // keys that type nothing still move the cursor
    box.paste(); // text arriving without typing is not filtered
    EXPECT_EQ(box.text(), QStringLiteral("3991"));
}

} // namespace
