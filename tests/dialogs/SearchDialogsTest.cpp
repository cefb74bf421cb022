#include "RecordingProgress.h"
#include "ScriptedMessageBox.h"
#include "TestEditorHost.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "dialogs/frmReplace.h"
#include "platform/RuntimeError.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString App = QStringLiteral("ScintillaClass");
const QString Section = QStringLiteral("Settings");

QString Stored(const QString &key)
{
    return SettingsStore::GetSetting(App, Section, key);
}

void Store(const QString &key, const QString &value)
{
    SettingsStore::SaveSetting(App, Section, key, value);
}

// Acts on the modal dialog once it is up; a dialog the action leaves open is
// closed, so a failing test never hangs.
template <typename Dialog>
void WhenShown(std::function<void(Dialog &)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<Dialog *>(modal);
        if (!dialog) {
            ADD_FAILURE() << "the expected dialog is not up";
            if (modal)
                modal->close();
            return;
        }
        act(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog->reject();
        }
    });
}

// The controls that Tab visits, in order, by name.
QStringList TabOrder(QWidget *first)
{
    QStringList names;
    QWidget *w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().startsWith(QLatin1String("qt_"))
            && !w->objectName().isEmpty())
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first);
    return names;
}

QPoint Centred(const QWidget &dialog)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize size = dialog.frameGeometry().size();
    return {(screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2};
}

void ExpectNear(QPoint actual, QPoint expected)
{
    EXPECT_LE((actual - expected).manhattanLength(), 2) << actual.x() << "," << actual.y();
}

class SearchDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferrolan"), App).clear();
        host.show();
    }

    void TearDown() override
    {
        delete frmReplace::Instance();
    }

    clsScintilla &sci() { return host.sci(); }

    void Use(const QString &text, long selStart, long selEnd)
    {
        sci().SetText(text);
        sci().SetSel(selStart, selEnd);
    }

    std::pair<long, long> Sel() { return {sci().GetSelStart(), sci().GetSelEnd()}; }

    ScriptedMessageBox boxes;
    TestEditorHost host;
};

using Range = std::pair<long, long>;

TEST_F(SearchDialogsTest, TheFindDialogsControlsAndFirstUse)
{
    frmFind dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("查找"));
    EXPECT_EQ(dialog.lblFind->text(), QStringLiteral("查找内容:"));
    EXPECT_EQ(dialog.chkWrap->text(), QStringLiteral("Wrap aroun&d"));
    EXPECT_EQ(dialog.chkWhole->text(), QStringLiteral("全字匹配(&O)"));
    EXPECT_EQ(dialog.chkCase->text(), QStringLiteral("区分大小写(&S)"));
    EXPECT_EQ(dialog.chkRegExp->text(), QStringLiteral("正规表达式(&R)"));
    EXPECT_EQ(dialog.frmDirection->title(), QStringLiteral("方向"));
    EXPECT_EQ(dialog.optUp->text(), QStringLiteral("向上(&U)"));
    EXPECT_EQ(dialog.optDown->text(), QStringLiteral("向下(&D)"));
    EXPECT_EQ(dialog.cmdFind->text(), QStringLiteral("查找(&F)"));
    EXPECT_EQ(dialog.cmdCancel->text(), QStringLiteral("取消(&C)"));
    EXPECT_TRUE(dialog.cmdFind->isDefault());
    EXPECT_EQ(TabOrder(dialog.cmbFind), QStringList({"cmbFind", "chkWrap", "chkWhole", "chkCase", "chkRegExp", "optUp",
                                                     "optDown", "cmdFind", "cmdCancel"}));
    EXPECT_TRUE(dialog.cmbFind->isEditable());

    // First use: centred, wrapping, searching down.
    ExpectNear(dialog.frameGeometry().topLeft(), Centred(dialog));
    EXPECT_TRUE(dialog.chkWrap->isChecked());
    EXPECT_FALSE(dialog.chkWhole->isChecked() || dialog.chkCase->isChecked() || dialog.chkRegExp->isChecked());
    EXPECT_TRUE(dialog.optDown->isChecked());
    EXPECT_FALSE(dialog.optUp->isChecked());
}

TEST_F(SearchDialogsTest, TheReplaceAndGotoDialogsControlsAndFirstUse)
{
    frmReplace *replace = frmReplace::Load(nullptr);
    EXPECT_EQ(replace->windowTitle(), QStringLiteral("替换"));
    EXPECT_EQ(replace->lblData[0]->text(), QStringLiteral("查找内容:"));
    EXPECT_EQ(replace->lblData[1]->text(), QStringLiteral("替换为:"));
    EXPECT_EQ(replace->chkWrap->text(), QStringLiteral("Wrap aroun&d"));
    EXPECT_EQ(replace->chkWhole->text(), QStringLiteral("整字匹配(&O)"));
    EXPECT_EQ(replace->chkCase->text(), QStringLiteral("区分大小写(&S)"));
    EXPECT_EQ(replace->chkRegExp->text(), QStringLiteral("正规表达式(&E)"));
    EXPECT_EQ(replace->cmdFindNext->text(), QStringLiteral("查找下一个(&F)"));
    EXPECT_EQ(replace->cmdReplace->text(), QStringLiteral("替换(&R)"));
    EXPECT_EQ(replace->cmdReplaceAll->text(), QStringLiteral("替换全部(&A)"));
    EXPECT_EQ(replace->cmdClose->text(), QStringLiteral("关闭"));
    EXPECT_TRUE(replace->lblReplace->text().isEmpty());
    EXPECT_TRUE(replace->cmdFindNext->isDefault());
    EXPECT_FALSE(replace->isModal());
    EXPECT_EQ(TabOrder(replace->cmbFind),
              QStringList({"cmbFind", "cmbReplace", "chkWrap", "chkWhole", "chkCase", "chkRegExp", "cmdFindNext",
                           "cmdReplace", "cmdReplaceAll", "cmdClose"}));
    ExpectNear(replace->frameGeometry().topLeft(), Centred(*replace));
    EXPECT_TRUE(replace->chkWrap->isChecked());
    EXPECT_FALSE(replace->chkWhole->isChecked() || replace->chkCase->isChecked() || replace->chkRegExp->isChecked());
    EXPECT_EQ(frmReplace::Load(nullptr), replace); // one at a time

    frmGoto go;
    EXPECT_EQ(go.windowTitle(), QStringLiteral("转到"));
    EXPECT_EQ(go.lblData[0]->text(), QStringLiteral("目的行:"));
    EXPECT_EQ(go.lblData[1]->text(), QStringLiteral("列:"));
    EXPECT_EQ(go.cmdGo->text(), QStringLiteral("转到(&G)"));
    EXPECT_EQ(go.cmdCancel->text(), QStringLiteral("取消(&C)"));
    EXPECT_TRUE(go.cmdGo->isDefault());
    EXPECT_EQ(TabOrder(go.txtLine), QStringList({"txtLine", "txtColumn", "cmdGo", "cmdCancel"}));
    ExpectNear(go.frameGeometry().topLeft(), Centred(go));
}

TEST_F(SearchDialogsTest, CancelStillStoresThePlaceAndTheOptions)
{
    Use(QStringLiteral("one two one"), 0, 0);
    WhenShown<frmFind>([](frmFind &dialog) {
        dialog.cmbFind->setEditText(QStringLiteral("one"));
        dialog.chkCase->setChecked(true);
        dialog.chkWrap->setChecked(false);
        dialog.optUp->setChecked(true);
        dialog.move(37, 41);
        dialog.cmdCancel->click();
    });
    DoFind(sci());
    EXPECT_EQ(Sel(), Range(0, 0)); // no search
    EXPECT_EQ(Stored("FindLeft"), QStringLiteral("555"));
    EXPECT_EQ(Stored("FindTop"), QStringLiteral("615"));
    EXPECT_EQ(Stored("FchkCase"), QStringLiteral("1"));
    EXPECT_EQ(Stored("FchkRegEx"), QStringLiteral("0"));
    EXPECT_EQ(Stored("FchkWhole"), QStringLiteral("0"));
    EXPECT_EQ(Stored("FchkWrap"), QStringLiteral("0"));
    EXPECT_EQ(Stored("FOptUp"), QStringLiteral("True"));

    frmFind again;
    EXPECT_EQ(again.frameGeometry().topLeft(), QPoint(37, 41));
    EXPECT_TRUE(again.chkCase->isChecked());
    EXPECT_FALSE(again.chkWrap->isChecked());
    EXPECT_TRUE(again.optUp->isChecked());
    EXPECT_FALSE(again.optDown->isChecked());
}

TEST_F(SearchDialogsTest, HandEditedOptionsFallBackToTheirDefaults)
{
    Store("FchkCase", "yes");
    Store("FchkWrap", "7"); // not a check-box value
    Store("FOptUp", "upwards");
    Store("FindLeft", "left");
    Store("RchkWhole", "1.0");
    Store("RchkWrap", "0");
    {
        frmFind dialog;
        EXPECT_FALSE(dialog.chkCase->isChecked());
        EXPECT_TRUE(dialog.chkWrap->isChecked());
        EXPECT_TRUE(dialog.optDown->isChecked());
        EXPECT_NEAR(dialog.frameGeometry().left(), Centred(dialog).x(), 2);
        frmReplace *replace = frmReplace::Load(nullptr);
        EXPECT_TRUE(replace->chkWhole->isChecked());
        EXPECT_FALSE(replace->chkWrap->isChecked());
    }
    EXPECT_EQ(Stored("FchkWrap"), QStringLiteral("1")); // written back in the proper form
    Store("FOptUp", "-1");
    frmFind numbers;
    EXPECT_TRUE(numbers.optUp->isChecked());
}

TEST_F(SearchDialogsTest, FindSearchesWithTheDialogsFieldsFromTheSelection)
{
    Use(QStringLiteral("beta alpha beta Beta"), 11, 15);
    QString offered;
    WhenShown<frmFind>([&](frmFind &dialog) {
        offered = dialog.cmbFind->currentText();
        dialog.chkCase->setChecked(true);
        dialog.optUp->setChecked(true);
        QTest::keyClick(dialog.cmbFind, Qt::Key_Return); // the default button
    });
    DoFind(sci());
    EXPECT_EQ(offered, QStringLiteral("beta"));
    EXPECT_EQ(Sel(), Range(0, 4));
    EXPECT_TRUE(sci().FindNext()); // the search is remembered, case included
    EXPECT_EQ(Sel(), Range(11, 15));
    EXPECT_TRUE(sci().FindNext());
    EXPECT_EQ(Sel(), Range(0, 4));

    WhenShown<frmFind>([](frmFind &dialog) { QTest::keyClick(dialog.cmbFind, Qt::Key_Escape); });
    DoFind(sci());
    EXPECT_EQ(Sel(), Range(0, 4));
}

TEST_F(SearchDialogsTest, TheWholeWordBoxReachesTheSearch)
{
    for (const bool whole : {true, false}) {
        Use(QStringLiteral("concatenate cat"), 0, 0);
        WhenShown<frmFind>([whole](frmFind &dialog) {
            dialog.cmbFind->setEditText(QStringLiteral("cat"));
            dialog.chkWhole->setChecked(whole);
            dialog.cmdFind->click();
        });
        DoFind(sci());
        EXPECT_EQ(Sel(), whole ? Range(12, 15) : Range(3, 6)) << whole;
    }

    Use(QStringLiteral("concatenate cat"), 0, 0);
    DoReplace(sci());
    frmReplace *replace = frmReplace::Instance();
    replace->cmbFind->setEditText(QStringLiteral("cat"));
    replace->chkWhole->setChecked(true);
    replace->cmdFindNext->click();
    EXPECT_EQ(Sel(), Range(12, 15));
}

TEST_F(SearchDialogsTest, ReplaceButtonsWorkOnTheEditor)
{
    Use(QStringLiteral("cat dog cat dog cat"), 0, 3);
    DoReplace(sci());
    frmReplace *dialog = frmReplace::Instance();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->cmbFind->currentText(), QStringLiteral("cat"));
    dialog->cmbReplace->setEditText(QStringLiteral("lion"));

    dialog->cmdReplace->click(); // the next one after the selection, not the selected one
    EXPECT_EQ(sci().Text(), QByteArray("cat dog lion dog cat"));
    EXPECT_EQ(Sel(), Range(12, 12));
    dialog->cmdReplace->click();
    dialog->cmdReplace->click(); // around the end
    EXPECT_EQ(sci().Text(), QByteArray("lion dog lion dog lion"));

    dialog->cmdFindNext->click();
    EXPECT_EQ(Sel(), Range(4, 4)); // no "cat" left: the caret stays, nothing is said
    EXPECT_TRUE(boxes.shown.isEmpty());

    dialog->cmbFind->setEditText(QStringLiteral("lion"));
    dialog->cmbReplace->setEditText(QStringLiteral("cat"));
    dialog->cmdReplaceAll->click();
    EXPECT_EQ(sci().Text(), QByteArray("cat dog cat dog cat"));
    EXPECT_EQ(dialog->lblReplace->text(), QStringLiteral("Replaced 3 times"));
    dialog->cmdReplaceAll->click();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("No instances of \"lion\" were found in document"));
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Quorvane"));
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(dialog->lblReplace->text(), QStringLiteral("Replaced 3 times"));

    sci().Undo(); // the replace-all was one step
    EXPECT_EQ(sci().Text(), QByteArray("lion dog lion dog lion"));
}

TEST_F(SearchDialogsTest, ReplacingWithNothingDeletesAndSelectsTheNextMatch)
{
    Use(QStringLiteral("a1 a2 a3"), 0, 0);
    DoReplace(sci());
    frmReplace *dialog = frmReplace::Instance();
    dialog->cmbFind->setEditText(QStringLiteral("a"));
    dialog->cmdReplace->click();
    EXPECT_EQ(sci().Text(), QByteArray("1 a2 a3"));
    EXPECT_EQ(Sel(), Range(2, 3));
    dialog->cmdReplace->click();
    EXPECT_EQ(sci().Text(), QByteArray("1 2 a3"));
    EXPECT_EQ(Sel(), Range(4, 5));

    dialog->cmbFind->setEditText(QString());
    dialog->cmdReplaceAll->click();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("No instances of \"\" were found in document"));
}

// Stopped by the user, a replace-all changed nothing and there is nothing
// to report: no "No instances" box, the last result stays.
TEST_F(SearchDialogsTest, AStoppedReplaceAllSaysNothing)
{
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text += "cat dog\n";
    host.SetTextRaw(text);
    DoReplace(sci());
    frmReplace *dialog = frmReplace::Instance();
    ASSERT_NE(dialog, nullptr);
    dialog->lblReplace->setText(QStringLiteral("Replaced 3 times"));
    dialog->cmbFind->setEditText(QStringLiteral("cat"));
    dialog->cmbReplace->setEditText(QStringLiteral("lion"));
    RecordingProgress progress;
    progress.stopAt = 20;
    QuickSlices slices(512);
    dialog->cmdReplaceAll->click();
    EXPECT_TRUE(sci().WasStopped());
    EXPECT_EQ(sci().Text(), text);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(dialog->lblReplace->text(), QStringLiteral("Replaced 3 times"));
}

TEST_F(SearchDialogsTest, TheReplaceDialogOutlivesItsDocument)
{
    // A document window of the host, which owns the dialogs as a main window does.
    auto document = std::make_unique<QWidget>(&host);
    auto first = std::make_unique<clsScintilla>();
    first->CreateScintilla(document.get(), vbTrue, &host);
    first->SetText(QStringLiteral("x x"));
    DoReplace(*first);
    frmReplace *dialog = frmReplace::Instance();
    EXPECT_EQ(dialog->parentWidget(), &host);
    dialog->cmbFind->setEditText(QStringLiteral("x"));
    dialog->cmbReplace->setEditText(QStringLiteral("y"));
    dialog->chkCase->setChecked(true);
    first.reset(); // its document closes
    document.reset();

    dialog->cmdFindNext->click();
    dialog->cmdReplace->click();
    dialog->cmdReplaceAll->click();
    EXPECT_TRUE(boxes.shown.isEmpty()); // nothing happens at all
    EXPECT_TRUE(dialog->lblReplace->text().isEmpty());

    Use(QStringLiteral("x X x"), 0, 0);
    DoReplace(sci()); // another document's Replace gives it that editor
    EXPECT_EQ(frmReplace::Instance(), dialog);
    EXPECT_EQ(dialog->cmbReplace->currentText(), QStringLiteral("y")); // options and replacement stay
    EXPECT_TRUE(dialog->chkCase->isChecked());
    dialog->cmdReplaceAll->click();
    EXPECT_EQ(sci().Text(), QByteArray("y X y"));
    EXPECT_EQ(dialog->lblReplace->text(), QStringLiteral("Replaced 2 times"));
}

TEST_F(SearchDialogsTest, ClosingTheReplaceDialogUnloadsItAndRemembersIt)
{
    Use(QStringLiteral("abc"), 0, 0);
    DoReplace(sci());
    frmReplace *dialog = frmReplace::Instance();
    dialog->chkWhole->setChecked(true);
    dialog->chkWrap->setChecked(false);
    dialog->move(90, 70);
    dialog->close(); // the close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmReplace::Instance(), nullptr);
    EXPECT_EQ(Stored("ReplaceLeft"), QStringLiteral("1350"));
    EXPECT_EQ(Stored("ReplaceTop"), QStringLiteral("1050"));
    EXPECT_EQ(Stored("RchkWhole"), QStringLiteral("1"));
    EXPECT_EQ(Stored("RchkWrap"), QStringLiteral("0"));
    EXPECT_EQ(Stored("RchkCase"), QStringLiteral("0"));

    DoReplace(sci());
    dialog = frmReplace::Instance();
    EXPECT_EQ(dialog->frameGeometry().topLeft(), QPoint(90, 70));
    EXPECT_TRUE(dialog->chkWhole->isChecked());
    QTest::keyClick(dialog, Qt::Key_Escape); // Esc closes it too
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmReplace::Instance(), nullptr);
}

// Ten lines, the caret at the start of the first.
class GotoDialogTest : public SearchDialogsTest
{
protected:
    void SetUp() override
    {
        SearchDialogsTest::SetUp();
        Use(QStringLiteral("0\n1\n2\nline three\n4\n5\n6\n7\n8\n9"), 0, 0);
    }

    void GoTo(const QString &line, const QString &column)
    {
        WhenShown<frmGoto>([line, column](frmGoto &dialog) {
            QTest::keyClicks(dialog.txtLine, line);
            QTest::keyClicks(dialog.txtColumn, column);
            QTest::keyClick(dialog.txtLine, Qt::Key_Return);
        });
        DoGoto(sci());
    }
};

TEST_F(GotoDialogTest, TheLabelsTellWhereTheCaretIs)
{
    sci().SetSel(8, 8); // line 3, column 2
    QStringList labels;
    WhenShown<frmGoto>([&](frmGoto &dialog) {
        labels << dialog.lblCurLine->text() << dialog.lblLineCount->text() << dialog.lblColumn->text();
        dialog.cmdCancel->click();
    });
    DoGoto(sci());
    EXPECT_EQ(labels, QStringList({"当前行: 3", "末尾行: 10", "列: 2"}));
    EXPECT_EQ(sci().GetCurPos(), 8); // Cancel goes nowhere
}

TEST_F(GotoDialogTest, GoMovesToTheOneBasedLineAndColumn)
{
    GoTo("4", "3");
    EXPECT_EQ(sci().GetCurLine(), 3);
    EXPECT_EQ(sci().GetColumn(), 2);
    GoTo("1", "");
    EXPECT_EQ(sci().GetCurPos(), 0);
    GoTo("4", "99"); // beyond the end of the line: its end
    EXPECT_EQ(sci().GetCurPos(), sci().GetLineEndPosition(3));
    GoTo("", ""); // both empty: the start of the document
    EXPECT_EQ(sci().GetCurPos(), 0);
    GoTo("a-. 5", "x2"); // only the digits arrive
    EXPECT_EQ(sci().GetCurLine(), 4);
    EXPECT_EQ(sci().GetColumn(), 1);
}

TEST_F(GotoDialogTest, CloseBoxAndCancelGoNowhere)
{
    GoTo("3", "1");
    const long there = sci().GetCurPos();
    WhenShown<frmGoto>([](frmGoto &dialog) {
        dialog.txtLine->setText(QStringLiteral("9"));
        dialog.move(50, 60);
        dialog.close();
    });
    DoGoto(sci());
    EXPECT_EQ(sci().GetCurPos(), there);
    EXPECT_EQ(Stored("GotoLeft"), QStringLiteral("750"));
    EXPECT_EQ(Stored("GotoTop"), QStringLiteral("900"));
    frmGoto again; // where it was left
    EXPECT_EQ(again.frameGeometry().topLeft(), QPoint(50, 60));
}

TEST_F(GotoDialogTest, TabAndEscStillWorkInTheDigitBoxes)
{
    bool tabbed = false;
    WhenShown<frmGoto>([&](frmGoto &dialog) {
        dialog.txtLine->setFocus();
        QTest::keyClick(dialog.txtLine, Qt::Key_Tab);
        tabbed = dialog.focusWidget() == dialog.txtColumn;
        QTest::keyClicks(dialog.txtColumn, QStringLiteral("5"));
        QTest::keyClick(dialog.txtColumn, Qt::Key_Escape);
    });
    DoGoto(sci());
    EXPECT_TRUE(tabbed);
    EXPECT_EQ(sci().GetCurPos(), 0);
}

TEST_F(GotoDialogTest, APastedWordIsAConversionError)
{
    WhenShown<frmGoto>([](frmGoto &dialog) {
        dialog.txtLine->setText(QStringLiteral("seven")); // as pasting leaves it
        dialog.cmdGo->click();
    });
    try {
        DoGoto(sci());
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.Number(), 13);
    }
    EXPECT_EQ(sci().GetCurPos(), 0);
}

} // namespace
