// The files open at a normal exit come back at the next start, each where
// it was left.
#include "MainWindowFixture.h"
#include "recovery/SessionStore.h"
#include "editor/TextEncoding.h"
#include "shell/StatusBarPanels.h"

#include <QStringEncoder>
#include <Qsci/qsciscintillabase.h>

namespace {

using Sci = QsciScintillaBase;

class SessionTest : public MainWindowFixture
{
protected:
    static QByteArray Lines(int count)
    {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += "int line" + QByteArray::number(i) + ";\n";
        return text;
    }

    frmDoc *DocumentFor(const QString &path) const
    {
        for (frmDoc *doc : window->Documents())
            if (doc->strFile == path)
                return doc;
        return nullptr;
    }

    static QString LanguageOf(const clsScintilla &sci) { return HighlighterTable[size_t(sci.lHighlighterNum)].LangName; }
};

TEST_F(SessionTest, FilesComeBackWithCaretViewLanguageAndEncoding)
{
    const QString code = Write(QStringLiteral("a.cpp"), Lines(300));
    // Plain ASCII kept as GB18030: detection alone would never say so.
    const QString chinese = Write(QStringLiteral("b.txt"), "plain\nsecond\n");
    Start();
    ASSERT_GE(HighlighterTable.size(), 2u);
    const TextEncoding gb = *TextEncoding::FromName(QStringLiteral("GB18030"));

    frmDoc *a = window->OpenDocument(code);
    a->sciMain->GotoLine(250);
    a->sciMain->SendEditor(Sci::SCI_SETFIRSTVISIBLELINE, 230);
    frmDoc *b = window->OpenDocument(chinese);
    ASSERT_TRUE(window->ReopenDocument(b, gb));
    b->sciMain->GotoLine(1);
    const QString chosen = HighlighterTable.back().LangName; // not what the name picks
    ApplyHighlighter(*b->sciMain, chosen);
    const long firstVisible = a->sciMain->SendEditor(Sci::SCI_GETFIRSTVISIBLELINE);
    const QString codeLanguage = LanguageOf(*a->sciMain);
    window->close();

    Start();
    window->OpenAtStart({});
    ASSERT_EQ(window->Documents().size(), 3);
    frmDoc *a2 = DocumentFor(code);
    frmDoc *b2 = DocumentFor(chinese);
    ASSERT_TRUE(a2 && b2);
    EXPECT_EQ(a2->sciMain->GetCurLine(), 250);
    EXPECT_EQ(a2->sciMain->SendEditor(Sci::SCI_GETFIRSTVISIBLELINE), firstVisible);
    EXPECT_EQ(LanguageOf(*a2->sciMain), codeLanguage);
    EXPECT_EQ(b2->sciMain->GetCurLine(), 1);
    EXPECT_EQ(LanguageOf(*b2->sciMain), chosen);
    EXPECT_EQ(b2->sciMain->Encoding(), gb);
    EXPECT_EQ(b2->sciMain->Text(), QByteArray("plain\nsecond\n"));
    EXPECT_FALSE(b2->sciMain->Modified());
}

TEST_F(SessionTest, MissingFilesAreNotedAndTheSettingAndNamedFilesComeFirst)
{
    const QString kept = Write(QStringLiteral("kept.txt"), "kept\n");
    const QString named = Write(QStringLiteral("named.txt"), "named\n");
    const QString gone = Path(QStringLiteral("gone.txt"));
    ASSERT_TRUE(SessionStore::Save({SessionDocument{gone, 0, 0, QString(), QStringLiteral("UTF-8")},
                                    SessionDocument{kept, 0, 0, QString(), QStringLiteral("UTF-8")}})
                    .isEmpty());

    Start();
    window->OpenAtStart({});
    EXPECT_NE(DocumentFor(kept), nullptr);
    EXPECT_EQ(window->Documents().size(), 2);
    EXPECT_TRUE(window->stb->currentMessage().contains(gone));

    // Files named at start win over the session.
    Start();
    window->OpenAtStart({named});
    EXPECT_NE(DocumentFor(named), nullptr);
    EXPECT_EQ(DocumentFor(kept), nullptr);

    // Switched off in the File menu: the next start opens none.
    ASSERT_TRUE(Actions().mnuRestoreSession->isChecked());
    Actions().mnuRestoreSession->trigger();
    Start();
    EXPECT_FALSE(Actions().mnuRestoreSession->isChecked());
    window->OpenAtStart({});
    EXPECT_EQ(window->Documents().size(), 1);
}

} // namespace
