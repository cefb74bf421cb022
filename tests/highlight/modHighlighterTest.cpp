#include "LogCapture.h"
#include "TestFiles.h"
#include "TestEditorHost.h"
#include "editor/EditorWindow.h"
#include "highlight/HighlighterFile.h"
#include "highlight/modHighlighter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <string>

using Sci = QsciScintillaBase;

namespace {

struct Msg
{
    int msg;
    long wParam;
    long lParam; // not compared for string messages
    std::string text;
    bool operator==(const Msg &o) const
    {
        return msg == o.msg && wParam == o.wParam && text == o.text && (!text.empty() || lParam == o.lParam);
    }
};

[[maybe_unused]] std::ostream &operator<<(std::ostream &out, const Msg &m)
{
    return out << m.msg << '(' << m.wParam << ", " << (m.text.empty() ? std::to_string(m.lParam) : m.text) << ')';
}

class TableTest : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override { ResetHighlighterTable(); }
    void TearDown() override { ResetHighlighterTable(); }

    QString WriteChl(const QString &name, const QByteArray &data)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[data]\n" + data);
        return file.fileName();
    }

    static void AddEntry(const QString &name, const QString &filter = QString())
    {
        Highlighter h = HighlighterFile::Read(IniFile());
        h.LangName = name;
        h.Filter = filter;
        HighlighterTable.push_back(h);
        HighlighterCount = std::int16_t(HighlighterTable.size());
    }

    void Observe(clsScintilla &sci)
    {
        sci.ObserveMessages([this](int msg, long w, long l, const char *text) {
            sent.push_back({msg, w, l, text ? std::string(text) : std::string()});
        });
    }

    static long Get(clsScintilla &sci, int msg, long style = 0) { return sci.SendEditor(msg, style); }

    static QByteArray FontOf(clsScintilla &sci, long style)
    {
        QByteArray name(64, '\0');
        sci.Editor()->SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(style), name.data());
        return QByteArray(name.constData());
    }

    std::vector<Msg> sent;
};

TEST_F(TableTest, TheDirectoryLoadsInNameOrderCaseIgnored)
{
    WriteChl("b.chl", "LangName=B\n");
    WriteChl("A.CHL", "LangName=A\n");
    WriteChl("c.Chl", "LangName=C\n");
    WriteChl("notes.txt", "LangName=Not a language\n");
    QDir(dir.path()).mkdir("d.CHL");
    LoadHighlighters(dir.path());
    ASSERT_EQ(HighlighterCount, 3);
    EXPECT_EQ(HighlighterTable[0].LangName, "A");
    EXPECT_EQ(HighlighterTable[1].LangName, "B");
    EXPECT_EQ(HighlighterTable[2].LangName, "C");

    LoadHighlighter(dir.filePath("A.CHL")); // a second load is a second entry
    EXPECT_EQ(HighlighterCount, 4);
    EXPECT_EQ(FindHighlighter("a"), 0);
    // Each entry knows its file, for the settings dialog to write it back.
    EXPECT_EQ(HighlighterTable[1].FilePath, dir.filePath("b.chl"));
    EXPECT_EQ(HighlighterTable[3].FilePath, dir.filePath("A.CHL"));

    LoadHighlighters(dir.filePath("nowhere"));
    EXPECT_EQ(HighlighterCount, 4);
}

// A pipe named like an API file would block the start, a link to a device
// would read until memory runs out.
TEST_F(TableTest, SpecialFilesBesideTheLanguagesAreNeitherListedNorRead)
{
    WriteChl("A.CHL", "LangName=A\n");
    WriteChl("B.CHL", "LangName=B\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("A.api")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("B.api")));
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("Zero.CHL")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("Pipe.CHL")).constData(), 0600), 0);

    LoadHighlighters(dir.path());
    ASSERT_EQ(HighlighterCount, 2);
    EXPECT_EQ(HighlighterTable[1].LangName, "B");
    EXPECT_EQ(HighlighterFile::ReadFile(dir.filePath("Zero.CHL")).LangName, "");

    TestEditorHost host;
    LogCapture log("ferrolan.highlight");
    for (const char *name : {"A", "B"}) {
        ApplyHighlighter(host.sci(), name);
        EXPECT_EQ(host.sci().lHighlighterNum, FindHighlighter(name));
        EXPECT_EQ(host.sci().APIEntryCount(), 0);
        const FileIoResult api = host.sci().LoadAPIFile(dir.filePath(QString::fromLatin1(name) + ".api"));
        EXPECT_EQ(api.outcome, FileIoResult::Failed) << name;
        EXPECT_TRUE(api.reason.contains("这不是一个普通文件")) << api.reason.toStdString();
    }
    // Applying says in the log which API file could not be read, and why.
    ASSERT_EQ(log.warnings.size(), 2);
    EXPECT_TRUE(log.warnings[0].startsWith(dir.filePath("A.api"))) << log.warnings[0].toStdString();
    EXPECT_TRUE(log.warnings[1].contains("这不是一个普通文件")) << log.warnings[1].toStdString();
}

// A language without an API file simply has no call tips: nothing to report.
TEST_F(TableTest, ALanguageWithoutAnApiFileLogsNothing)
{
    LoadHighlighter(WriteChl("Plain.CHL", "LangName=Plain\n"));
    TestEditorHost host;
    LogCapture log("ferrolan.highlight");
    ApplyHighlighter(host.sci(), "Plain");
    EXPECT_EQ(host.sci().APIEntryCount(), 0);
    EXPECT_TRUE(log.warnings.isEmpty()) << log.warnings.join('\n').toStdString();
}

TEST_F(TableTest, NamesAreFoundIgnoringCaseAndUnknownNamesGiveTheFirst)
{
    AddEntry("Text");
    AddEntry("C++");
    AddEntry("c++");
    EXPECT_EQ(FindHighlighter("c++"), 1);
    EXPECT_EQ(FindHighlighter("TEXT"), 0);
    EXPECT_EQ(FindHighlighter("Fortran"), 0);
}

TEST_F(TableTest, FilesGetTheLastEntryWhosePatternsMatchTheirName)
{
    EXPECT_EQ(HighlighterForFile("main.c"), ""); // empty table
    AddEntry("Text", "文本文件 (*.txt)|*.txt|");
    AddEntry("C", "C source code (*.c;*.h)|*.c; *.h|");
    AddEntry("C++", "C++ (*.cpp;*.hpp)|*.cpp;*.hpp|");
    AddEntry("Headers", "Headers|*.h|");
    AddEntry("Make", "Makefile|Makefile;*.mk|");
    EXPECT_EQ(HighlighterForFile("/src/main.c"), "C"); // not C++, whose patterns hold a "c"
    EXPECT_EQ(HighlighterForFile("/src/MAIN.CPP"), "C++");
    EXPECT_EQ(HighlighterForFile("x.h"), "Headers");   // the last match wins
    EXPECT_EQ(HighlighterForFile("a.tar.txt"), "Text");
    EXPECT_EQ(HighlighterForFile("/work/makefile"), "Make");
    EXPECT_EQ(HighlighterForFile("/proj.c/README"), ""); // the directory does not count
    EXPECT_EQ(HighlighterForFile("odd."), "");
    EXPECT_EQ(HighlighterForFile("source"), ""); // a word of a description is no pattern
}

// Every style gets the look the record gives it (the cleared look first, so
// a record without a font keeps the cleared one), the lists and the lexer
// are in place and the whole text is coloured.
TEST_F(TableTest, ApplyGivesEveryStyleItsLookAndColoursTheWholeText)
{
    LoadHighlighter(WriteChl("cpp.CHL", "LangName=CPP\nLanguage=3\nKeywords[0]=int return\nKeywords[2]=param\n"
                                        "Style[32]=:::V:C:::Courier New:10:0:16777215::\n"
                                        "Style[5]=B:::V:C:E::Liberation Sans:13:16711680:15663086:Keyword:\n"
                                        "Style[17]=:I:U:V:C:::Liberation Serif:9:255:16777215:Doc keyword:\n"));
    HighlighterTable[0].Font[9].clear(); // a record without a font sends none
    TestEditorHost host;
    clsScintilla &sci = host.sci();
    const QByteArray text = "int x; /** @param */";
    host.SetTextRaw(text);
    sci.SetStyleFont(9, QStringLiteral("Arial")); // what an earlier language left
    sci.SetStyleBold(9, vbTrue);
    sci.lHighlighterNum = 7;
    ApplyHighlighter(sci, "cpp");

    const Highlighter &h = HighlighterTable[0];
    for (long n = 0; n < Highlighter::StyleCount; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETBOLD, n) != 0, h.Bold[n] != 0);
        EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETITALIC, n) != 0, h.Italic[n] != 0);
        EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETUNDERLINE, n) != 0, h.Underline[n] != 0);
        EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETVISIBLE, n) != 0, h.Visible[n] != 0);
        EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETEOLFILLED, n) != 0, h.EolFilled[n] != 0);
        EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETFORE, n), h.Fore[n]);
        EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETBACK, n), h.Back[n]);
        EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETSIZE, n), h.Size[n]);
        EXPECT_EQ(FontOf(sci, n), n == 9 ? QByteArray("Courier New") : h.Font[n].toUtf8());
    }
    EXPECT_EQ(Get(sci, Sci::SCI_STYLEGETFORE, 5), 16711680); // the record is the file's
    EXPECT_EQ(FontOf(sci, 17), "Liberation Serif");

    EXPECT_EQ(Get(sci, Sci::SCI_GETLEXER), 3);
    EXPECT_EQ(Get(sci, Sci::SCI_GETENDSTYLED), text.size()); // coloured to the end
    EXPECT_EQ(sci.GetStyleAt(0), 5);                 // "int": keyword list 0
    EXPECT_EQ(sci.GetStyleAt(4), 11);                // "x": an identifier
    EXPECT_EQ(sci.GetStyleAt(text.indexOf("param")), 17); // list 2: a documentation keyword
    EXPECT_EQ(sci.lHighlighterNum, 0);
    EXPECT_EQ(CurrentHighlighter, 0);
}

TEST_F(TableTest, ApplyFollowsTheNameAndKeepsListsItDoesNotSet)
{
    TestEditorHost host;
    clsScintilla &sci = host.sci();
    sci.lHighlighterNum = 5;
    Observe(sci);
    ApplyHighlighter(sci, "CPP"); // nothing to apply yet
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(sci.lHighlighterNum, 5);

    LoadHighlighter(WriteChl("a.CHL", "LangName=First\nLanguage=3\nKeywords[0]=int\nKeywords[1]=foo\n"));
    LoadHighlighter(WriteChl("b.CHL", "LangName=Second\nLanguage=3\nKeywords[0]=bar\n"));
    host.SetTextRaw("foo bar int");
    ApplyHighlighter(sci, "first");
    EXPECT_EQ(sci.GetStyleAt(0), 16); // list 1: SCE_C_WORD2
    ApplyHighlighter(sci, "SECOND");
    EXPECT_EQ(sci.lHighlighterNum, 1);
    EXPECT_EQ(CurrentHighlighter, 1);
    EXPECT_EQ(sci.GetStyleAt(0), 16); // list 1 stays from the first highlighter
    EXPECT_EQ(sci.GetStyleAt(4), 5);  // list 0 is the second's
    EXPECT_EQ(sci.GetStyleAt(8), 11);

    sent.clear();
    ApplyHighlighter(sci, "Html"); // no such entry: the first, with the bits the name asks for
    EXPECT_EQ(sci.lHighlighterNum, 0);
    const auto bits = std::find_if(sent.begin(), sent.end(), [](const Msg &m) { return m.msg == Sci::SCI_SETSTYLEBITS; });
    ASSERT_NE(bits, sent.end());
    EXPECT_EQ(bits->wParam, 7);
}

// After the settings dialog: each editor given gets the highlighter it has,
// as the table now holds it; others are left alone.
TEST_F(TableTest, ReapplyGivesEachEditorItsOwnHighlighterAsTheTableHoldsItNow)
{
    LoadHighlighter(WriteChl("a.CHL", "LangName=Alpha\nLanguage=3\nStyle[32]=:::V:C:::Courier New:10:1:16777215::\n"));
    LoadHighlighter(WriteChl("b.CHL", "LangName=Beta\nLanguage=3\nStyle[32]=:::V:C:::Courier New:10:2:16777215::\n"));
    TestEditorHost first, second, other;
    ApplyHighlighter(first.sci(), "Alpha");
    ApplyHighlighter(second.sci(), "Beta");
    ApplyHighlighter(other.sci(), "Beta");

    HighlighterTable[0].Fore.fill(0x111111); // as the settings dialog replaces entries
    HighlighterTable[1].Fore.fill(0x222222);
    ReapplyHighlighters({&first.sci(), &second.sci()});
    EXPECT_EQ(Get(first.sci(), Sci::SCI_STYLEGETFORE, 0), 0x111111);
    EXPECT_EQ(Get(second.sci(), Sci::SCI_STYLEGETFORE, 0), 0x222222);
    EXPECT_EQ(Get(other.sci(), Sci::SCI_STYLEGETFORE, 0), 2);
    EXPECT_EQ(first.sci().lHighlighterNum, 0);
    EXPECT_EQ(second.sci().lHighlighterNum, 1);
}

TEST(FlattenControls, ListedKindsGetAThinFrameAndOthersKeepTheirs)
{
    QDialog dialog;
    QPixmap picture(8, 8);
    picture.fill(Qt::red);
    auto *pictureLabel = new QLabel(&dialog);
    pictureLabel->setPixmap(picture);
    auto *textLabel = new QLabel("标签", &dialog);
    auto *pictureFrame = new QFrame(&dialog);
    auto *line = new QFrame(&dialog);
    line->setFrameShape(QFrame::HLine);
    QFrame *framed[] = {new QTextEdit(&dialog), new QListWidget(&dialog), new QTreeWidget(&dialog), pictureLabel,
                        pictureFrame};
    QWidget *styled[] = {new QPushButton("确定", &dialog), new QLineEdit(&dialog), new QProgressBar(&dialog)};
    QWidget *untouched[] = {new QCheckBox(&dialog), new QComboBox(&dialog)};
    const int lineStyle = line->frameStyle();
    const int textLabelStyle = textLabel->frameStyle();

    FlattenControls(&dialog);
    for (QFrame *frame : framed) {
        EXPECT_EQ(frame->frameShape(), QFrame::Panel) << frame->metaObject()->className();
        EXPECT_EQ(frame->frameShadow(), QFrame::Sunken);
        EXPECT_EQ(frame->lineWidth(), 1);
    }
    for (QWidget *widget : styled)
        EXPECT_TRUE(widget->styleSheet().contains("border: 1px solid")) << widget->metaObject()->className();
    for (QWidget *widget : untouched)
        EXPECT_TRUE(widget->styleSheet().isEmpty());
    EXPECT_EQ(line->frameStyle(), lineStyle);
    EXPECT_EQ(textLabel->frameStyle(), textLabelStyle);

    if (qEnvironmentVariableIsSet("FERROLAN_SHOTS")) {
        auto *layout = new QVBoxLayout(&dialog);
        for (QObject *child : dialog.children())
            if (auto *widget = qobject_cast<QWidget *>(child))
                layout->addWidget(widget);
        dialog.resize(320, 640);
        dialog.grab().save(qEnvironmentVariable("FERROLAN_SHOTS") + "/ferrolan-flat-controls.png");
    }
}

} // namespace
