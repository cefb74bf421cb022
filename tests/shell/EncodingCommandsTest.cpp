#include "MainWindowFixture.h"
#include "RecordingProgress.h"
#include "PdfPrinter.h"
#include "SmallFilesystem.h"
#include "highlight/HtmlExport.h"
#include "editor/TextEncoding.h"
#include "editor/BackgroundLoad.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "shell/MainMenus.h"
#include "shell/StatusBarPanels.h"
#include "shell/frmDoc.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSettings>
#include <QStringEncoder>
#include <QTimer>
#include <QStatusBar>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Traditional characters only, so Big5 holds all of it.
const QString Text = QStringLiteral("繁體中文\r\n第二行 text\n");

QByteArray QtEncoded(const QString &text, const char *name)
{
    QStringEncoder encoder(name);
    return encoder.encode(text);
}

class EncodingCommandsTest : public MainWindowFixture
{
protected:
    using Submenu = QMenu *const MainMenus::*;
    static constexpr Submenu Reopen = &MainMenus::mnuReopenEncoding;
    static constexpr Submenu Convert = &MainMenus::mnuConvertEncoding;

    void SetUp() override
    {
        if (!TextEncoding(TextEncoding::GB18030).IsAvailable() || !TextEncoding(TextEncoding::Big5).IsAvailable())
            GTEST_SKIP() << "this Qt has no GB18030 or Big5 converter";
        MainWindowFixture::SetUp();
        Start();
    }

    // The encoding items of one of the two submenus, in every group, after
    // the submenu was opened.
    QList<QAction *> Items(Submenu menu) const
    {
        QMenu *submenu = window->Menus()->*menu;
        emit submenu->aboutToShow();
        QList<QAction *> items;
        for (QAction *item : submenu->findChildren<QAction *>())
            if (item->isCheckable())
                items << item;
        return items;
    }

    // Chooses the item of one of the two encoding submenus.
    void Choose(Submenu menu, const QString &encoding)
    {
        for (QAction *item : Items(menu))
            if (item->text() == encoding)
                return item->trigger();
        ADD_FAILURE() << "no item " << encoding.toStdString();
    }

    QStringList Checked(Submenu menu) const
    {
        QStringList checked;
        for (QAction *item : Items(menu))
            if (item->isChecked())
                checked << item->text();
        return checked;
    }

    QString Panel(int panel) const { return window->stb->PanelText(panel); }

    // A Big5 file, opened and read again as Big5, with an emoji typed at its end.
    QString OpenBig5WithEmoji()
    {
        const QString path = Write(QStringLiteral("big5.txt"), QtEncoded(Text, "Big5"));
        window->OpenDocument(path);
        Choose(Reopen, QStringLiteral("Big5"));
        const long end = Editor().GetLen();
        Editor().SetSel(end, end);
        Editor().ReplaceSel(QStringLiteral("😀"));
        return path;
    }

};

TEST_F(EncodingCommandsTest, PanelThreeShowsTheActiveDocumentsEncoding)
{
    EXPECT_EQ(Panel(3), QStringLiteral("UTF-8"));
    frmDoc *gb = window->OpenDocument(Write(QStringLiteral("gb.txt"), QtEncoded(Text, "GB18030")));
    ASSERT_NE(gb, nullptr);
    EXPECT_EQ(gb->sciMain->GetText(), Text.toUtf8());
    EXPECT_EQ(Panel(3), QStringLiteral("GB18030"));

    window->OpenDocument(Write(QStringLiteral("le.txt"), "\xFF\xFE" + QtEncoded(Text, "UTF-16LE")));
    EXPECT_EQ(Panel(3), QStringLiteral("UTF-16 LE"));
    window->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(gb->parentWidget()));
    EXPECT_EQ(Panel(3), QStringLiteral("GB18030"));

    // A document that is not current does not write the panel.
    window->MdiArea()->activateNextSubWindow();
    ASSERT_NE(window->ActiveDocument(), gb);
    const QString shown = Panel(3);
    gb->sciMain->ConvertEncoding(TextEncoding(TextEncoding::Big5));
    EXPECT_EQ(Panel(3), shown);
    EXPECT_TRUE(gb->sciMain->Modified());
    gb->sciMain->ConvertEncoding(TextEncoding(TextEncoding::GB18030)); // back to what the file holds
    EXPECT_FALSE(gb->sciMain->Modified());

    window->MdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    EXPECT_EQ(Panel(3), QString());
}

// Both submenus list every encoding in its group; reopening leaves the mark
// to the file, converting offers each Unicode form with and without one.
TEST_F(EncodingCommandsTest, TheSubmenusGroupEveryEncoding)
{
    for (Submenu menu : {Reopen, Convert}) {
        QStringList groups;
        for (QAction *group : (window->Menus()->*menu)->actions())
            groups << group->text();
        EXPECT_EQ(groups, QStringList({"Unicode", "中文", "日本語", "한국어", "西欧", "其他"}));
    }
    auto names = [&](Submenu menu) {
        QStringList names;
        for (QAction *item : Items(menu))
            names << item->text();
        return names;
    };
    const QStringList convert = names(Convert), reopen = names(Reopen);
    for (const TextEncoding &encoding : TextEncoding::All())
        EXPECT_EQ(convert.count(encoding.Name()), 1) << encoding.Name().toStdString();
    EXPECT_EQ(convert.size(), TextEncoding::All().size());
    EXPECT_GT(convert.size(), 100); // every converter this Qt has, not a handful
    EXPECT_TRUE(convert.contains(QStringLiteral("UTF-32 BE 无BOM")));
    EXPECT_FALSE(reopen.contains(QStringLiteral("UTF-32 BE 无BOM")));
    EXPECT_EQ(reopen.size() + 5, convert.size()); // the five forms' other halves

    QMenu *japanese = nullptr;
    for (QMenu *group : window->Menus()->mnuConvertEncoding->findChildren<QMenu *>())
        if (group->title() == QStringLiteral("日本語"))
            japanese = group;
    ASSERT_NE(japanese, nullptr);
    QStringList inJapanese;
    for (QAction *item : japanese->actions())
        inJapanese << item->text();
    EXPECT_TRUE(inJapanese.contains(QStringLiteral("Shift_JIS")));
    EXPECT_TRUE(inJapanese.contains(QStringLiteral("EUC-JP")));
    EXPECT_FALSE(inJapanese.contains(QStringLiteral("Big5")));
}

// A Latin-1 file is shown as Windows-1252, checked in both submenus.
TEST_F(EncodingCommandsTest, ASingleByteFileShowsWindows1252)
{
    window->OpenDocument(Write(QStringLiteral("latin.txt"), "R\xe9sum\xe9\n"));
    EXPECT_EQ(Panel(3), QStringLiteral("Windows-1252"));
    EXPECT_EQ(Editor().GetText(), QStringLiteral("Résumé\n").toUtf8());
    EXPECT_EQ(Checked(Reopen), QStringList({"Windows-1252"}));
    EXPECT_EQ(Checked(Convert), QStringList({"Windows-1252"}));

    Choose(Reopen, QStringLiteral("KOI8-R")); // a reading from the 其他 group
    EXPECT_EQ(Panel(3), QStringLiteral("KOI8-R"));
    EXPECT_EQ(Editor().GetText(), QStringLiteral("RИsumИ\n").toUtf8());
    EXPECT_EQ(Checked(Convert), QStringList({"KOI8-R"}));
}

TEST_F(EncodingCommandsTest, TheSubmenusMarkTheCurrentEncoding)
{
    EXPECT_EQ(Checked(Convert), QStringList({"UTF-8"}));
    window->OpenDocument(Write(QStringLiteral("bom.txt"), "\xEF\xBB\xBF" + Text.toUtf8()));
    EXPECT_EQ(Checked(Convert), QStringList({"UTF-8 BOM"}));
    EXPECT_EQ(Checked(Reopen), QStringList({"UTF-8"})); // the file decides about the mark
    window->MdiArea()->closeAllSubWindows();
    EXPECT_EQ(Checked(Convert), QStringList());
}

// Reopening reinterprets the file; converting keeps the text for the next save.
TEST_F(EncodingCommandsTest, ReopenReadsTheFileAgainAndConvertChangesOnlyWhatTheNextSaveWrites)
{
    const QByteArray big5 = QtEncoded(Text, "Big5");
    const QString path = Write(QStringLiteral("big5.txt"), big5);
    window->OpenDocument(path);
    EXPECT_EQ(Panel(3), QStringLiteral("Big5"));
    EXPECT_EQ(Editor().GetText(), Text.toUtf8());

    Choose(Reopen, QStringLiteral("GB18030")); // Big5 pairs are valid GB18030 too
    EXPECT_EQ(Panel(3), QStringLiteral("GB18030"));
    EXPECT_NE(Editor().GetText(), Text.toUtf8());
    Choose(Reopen, QStringLiteral("Big5"));
    EXPECT_TRUE(boxes.shown.isEmpty()); // nothing to give up, nothing asked
    EXPECT_EQ(Editor().GetText(), Text.toUtf8());
    EXPECT_EQ(Panel(3), QStringLiteral("Big5"));
    EXPECT_FALSE(Editor().Modified());
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    Choose(Convert, QStringLiteral("GB18030"));
    EXPECT_EQ(Panel(2), QStringLiteral("已编辑"));
    Choose(Convert, QStringLiteral("Big5")); // back to what the file holds
    EXPECT_EQ(Panel(2), QString());
    Choose(Convert, QStringLiteral("UTF-8"));
    EXPECT_EQ(Editor().GetText(), Text.toUtf8());
    EXPECT_EQ(Panel(3), QStringLiteral("UTF-8"));
    EXPECT_EQ(Panel(2), QStringLiteral("已编辑"));
    EXPECT_EQ(Read(path), big5);

    // Undoing back to the save point does not hide the pending conversion.
    Editor().ReplaceSel(QStringLiteral("x"));
    Editor().Undo();
    QApplication::processEvents();
    EXPECT_EQ(Panel(2), QStringLiteral("已编辑"));

    Actions().mnuSave->trigger();
    EXPECT_EQ(Read(path), Text.toUtf8());
    EXPECT_EQ(Panel(2), QString());
    EXPECT_FALSE(Editor().Modified());
}

TEST_F(EncodingCommandsTest, ReopeningAsksBeforeGivingUpChangesAndRefusesWhatDoesNotFit)
{
    const QString path = Write(QStringLiteral("gb.txt"), QtEncoded(Text, "GB18030"));
    window->OpenDocument(path);
    Editor().ReplaceSel(QStringLiteral("mine "));
    const QByteArray edited = Editor().GetText();

    boxes.Answer(QMessageBox::No);
    Choose(Reopen, QStringLiteral("Big5"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("已经发生修改")));
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(Editor().GetText(), edited);

    // Not UTF-8: said so, and the document (changes included) stays.
    boxes.Answer(QMessageBox::Yes);
    Choose(Reopen, QStringLiteral("UTF-8"));
    ASSERT_EQ(boxes.shown.size(), 3);
    EXPECT_TRUE(boxes.shown[2].text.contains(QStringLiteral("不是有效的 UTF-8"))) << boxes.shown[2].text.toStdString();
    EXPECT_EQ(Editor().GetText(), edited);
    EXPECT_EQ(window->ActiveDocument()->strFile, path);
    EXPECT_EQ(Panel(3), QStringLiteral("GB18030"));

    boxes.Answer(QMessageBox::Yes);
    Choose(Reopen, QStringLiteral("Big5"));
    EXPECT_EQ(Editor().Encoding().codec, TextEncoding::Big5);
    EXPECT_FALSE(Editor().Modified());

    // A document never saved has no file to read.
    window->OpenDocument(QStringLiteral("New Document"));
    Choose(Reopen, QStringLiteral("GB18030"));
    EXPECT_TRUE(boxes.shown.last().text.contains(QStringLiteral("还没有保存过")));
}

// The file shrinks while it is read again (another program rewrites it).
// The reopen fails and says why; the window keeps the whole text it had,
// still the file's, and nothing of the cut read reaches it.
TEST_F(EncodingCommandsTest, AReopenThatStopsPartWayLeavesTheDocumentAsItWas)
{
    // More than one read chunk, so the interface runs while it loads.
    QByteArray whole;
    for (int line = 0; whole.size() < 25'000'000; ++line)
        whole += "line " + QByteArray::number(line) + " of a file that another program rewrites\n";
    const QString path = Write(QStringLiteral("big.txt"), whole);
    window->OpenDocument(path);
    ASSERT_EQ(Editor().GetLen(), whole.size());

    const auto pause = std::exchange(BackgroundLoad::PauseAfterChunk(), std::chrono::milliseconds(30));
    bool cut = false;
    QTimer shrink;
    QObject::connect(&shrink, &QTimer::timeout, [&] {
        if (!cut && Editor().IsLoading())
            cut = QFile::resize(path, 15'000'000);
    });
    shrink.start(0);
    Choose(Reopen, QStringLiteral("UTF-8"));
    shrink.stop();
    BackgroundLoad::PauseAfterChunk() = pause;
    ASSERT_TRUE(cut);
    ASSERT_FALSE(boxes.shown.isEmpty());
    EXPECT_TRUE(boxes.shown.last().text.contains(QStringLiteral("文件在读取时变短了"))) << boxes.shown.last().text.toStdString();
    EXPECT_FALSE(boxes.shown.last().text.contains(QStringLiteral("一部分")));
    EXPECT_TRUE(Editor().GetText() == whole);
    EXPECT_FALSE(Editor().Modified());
    EXPECT_EQ(Active()->strFile, path);
}

// A 1 MB GB18030 document onto a disk with a little less room than it needs:
// the save says why it failed, the file keeps every byte, and the document
// stays modified, so Exit still asks.
TEST_F(EncodingCommandsTest, ASaveOntoANearlyFullDiskSaysSoAndKeepsTheDocumentModified)
{
    SmallFilesystem disk(Path(QStringLiteral("disk")), 2304);
    if (!disk.mounted())
        GTEST_SKIP() << "no privilege to mount a small file system here";
    const QByteArray before = QtEncoded(QStringLiteral("中文测试").repeated(131072), "GB18030");
    const QString path = Write(QStringLiteral("disk/gb.txt"), before);
    window->OpenDocument(path);
    ASSERT_EQ(Panel(3), QStringLiteral("GB18030"));
    Editor().ReplaceSel(QStringLiteral("改"));
    const qint64 free = disk.FillLeaving(984 * 1024);
    ASSERT_GT(free, 900 * 1024);
    ASSERT_LT(free, before.size());

    Actions().mnuSave->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("保存失败"));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("磁盘空间不足"))) << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(Read(path) == before);
    EXPECT_EQ(Panel(2), QStringLiteral("已编辑"));

    boxes.Answer(QMessageBox::Cancel);
    Actions().mnuExit->trigger();
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("已经发生修改")));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(EncodingCommandsTest, ACharacterTheEncodingCannotHoldOffersUtf8OrCancel)
{
    const QString path = OpenBig5WithEmoji();
    const QByteArray before = Read(path);

    boxes.Answer(QMessageBox::Cancel);
    Actions().mnuSave->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Yes | QMessageBox::Cancel);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("😀")));
    EXPECT_EQ(Read(path), before);
    EXPECT_TRUE(Editor().Modified());
    EXPECT_EQ(Editor().GetSelText(), QStringLiteral("😀")); // shown where it is
    EXPECT_EQ(Panel(3), QStringLiteral("Big5"));

    boxes.Answer(QMessageBox::Yes);
    Actions().mnuSave->trigger();
    EXPECT_EQ(Read(path), (Text + QStringLiteral("😀")).toUtf8());
    EXPECT_EQ(Panel(3), QStringLiteral("UTF-8"));
    EXPECT_FALSE(Editor().Modified());

    // Save as to a new name goes through the same check.
    Editor().ConvertEncoding(TextEncoding(TextEncoding::Big5));
    const QString other = Path(QStringLiteral("other.txt"));
    dialogs.Answer(other);
    boxes.Answer(QMessageBox::Cancel);
    Actions().mnuSaveAs->trigger();
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(window->ActiveDocument()->strFile, path);
}

TEST_F(EncodingCommandsTest, TheClosePromptAndExitGoThroughTheSameCheck)
{
    const QString path = OpenBig5WithEmoji();
    const QByteArray before = Read(path);

    boxes.Answer(QMessageBox::Yes);    // save the changes ...
    boxes.Answer(QMessageBox::Cancel); // ... but not as UTF-8
    Actions().mnuExit->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Read(path), before);
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("已修改"));
    EXPECT_EQ(boxes.shown[1].title, QStringLiteral("编码无法表示"));

    boxes.Answer(QMessageBox::Yes);
    boxes.Answer(QMessageBox::Yes);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Read(path), (Text + QStringLiteral("😀")).toUtf8());
}

// 取消 while a document is saved in GB18030: the file keeps its bytes, the
// document stays modified and the status bar says so, with no box; saved
// through, the file holds the edit.
TEST_F(EncodingCommandsTest, ASaveStoppedBy取消KeepsTheFileAndTheDocumentModified)
{
    const QString text = QStringLiteral("中文测试\n").repeated(40000);
    const QByteArray before = QtEncoded(text, "GB18030");
    const QString path = Write(QStringLiteral("gb.txt"), before);
    window->OpenDocument(path);
    ASSERT_EQ(Panel(3), QStringLiteral("GB18030"));
    Editor().ReplaceSel(QStringLiteral("改"));
    QuickSlices slices(4096);
    RecordingProgress progress;
    progress.stopAt = 50;
    Actions().mnuSave->trigger();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(Read(path) == before);
    EXPECT_EQ(Panel(2), QStringLiteral("已编辑"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("已取消保存，文件保持原样。"));

    progress.stopAt = -1;
    Actions().mnuSave->trigger();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(Read(path) == QtEncoded(QStringLiteral("改") + text, "GB18030"));
    EXPECT_NE(Panel(2), QStringLiteral("已编辑"));
}

} // namespace

namespace {

// A document read from GB18030 is held as UTF-8, so the page and the printed
// sheet show its Chinese as Chinese.
TEST_F(EncodingCommandsTest, ExportAndPrintShowTheChineseOfAGb18030Document)
{
    const QString chinese = QStringLiteral("// 计算平均值\nint 平均 = 0;\n");
    window->OpenDocument(Write(QStringLiteral("gb.c"), QtEncoded(chinese, "GB18030")));
    ASSERT_EQ(Panel(3), QStringLiteral("GB18030"));

    const QString page = Path(QStringLiteral("gb.html"));
    ASSERT_TRUE(ExportHtml(page, Editor()).ok());
    const QByteArray html = Read(page);
    EXPECT_TRUE(html.contains("计算平均值"));
    EXPECT_TRUE(html.contains("平均"));
    EXPECT_TRUE(html.toLower().contains("charset=utf-8"));

    const QString pdf = Path(QStringLiteral("gb.pdf"));
    PdfPrinter printer(pdf, QMarginsF(0.25, 0.25, 0.25, 0.25), 300);
    ASSERT_TRUE(Editor().PrintDoc().ok());
    EXPECT_EQ(PdfPrinter::PageCount(pdf), 1);
    // The Chinese was drawn with a font that has Chinese glyphs.
    EXPECT_TRUE(Read(pdf).contains("WenQuanYi")) << "no CJK font embedded";
}

} // namespace
