#include "MessageLog.h"
#include "TestEditorHost.h"
#include "editor/EditorAccessibility.h"
#include "editor/EditorWindow.h"
#include "platform/RuntimeError.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class EditorCoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.show();
    }

    // Moves the caret and lets the component report the change.
    void CaretTo(long position)
    {
        host.MoveCaret(position);
        QApplication::processEvents();
    }

    std::vector<MessageLog::Sent> SentOf(int msg) const { return sent.Of(msg); }

    void SendNotify(win::HWND from, int code, int position = 0, int margin = 0)
    {
        NotifyRecord record;
        record.hwndFrom = from;
        record.code = code;
        record.position = position;
        record.margin = margin;
        result = win::SendMessage(host.hWnd(), win::WM_NOTIFY, 0, reinterpret_cast<win::LPARAM>(&record));
    }

    void PressKey(int key, Qt::KeyboardModifiers modifiers, const QString &text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(host.sci().Editor(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(host.sci().Editor(), &release);
        QApplication::processEvents();
    }

    QByteArray Text()
    {
        const long length = host.sci().Editor()->SendScintilla(Sci::SCI_GETLENGTH);
        QByteArray bytes(length + 1, '\0');
        host.sci().Editor()->SendScintilla(Sci::SCI_GETTEXT, static_cast<unsigned long>(length + 1), bytes.data());
        bytes.chop(1);
        return bytes;
    }

    TestEditorHost host;
    MessageLog sent{host.sci()};
    win::LRESULT result = -1;
};

TEST_F(EditorCoreTest, CreationMakesAChildComponentWithItsOwnHandle)
{
    EXPECT_NE(host.sci().sciHwnd, 0);
    EXPECT_NE(host.sci().sciHwnd, host.hWnd());
    EXPECT_EQ(host.sci().Editor()->parentWidget(), &host);
    EXPECT_EQ(host.sci().Editor()->geometry(), QRect(0, 0, 400, 300));
    host.sci().SizeScintilla(0, 0, 123, 45);
    EXPECT_EQ(host.sci().Editor()->size(), QSize(123, 45));
    EXPECT_EQ(host.sci().SendEditor(Sci::SCI_GETCODEPAGE), Sci::SC_CP_UTF8);
}

TEST_F(EditorCoreTest, StringsCrossAsZeroTerminatedUtf8)
{
    host.sci().SendEditor(Sci::SCI_SETTEXT, 0, QStringLiteral("中文abc"));
    EXPECT_EQ(host.sci().SendEditor(Sci::SCI_GETLENGTH), 9);
    EXPECT_EQ(Text(), QByteArray("中文abc"));
}

TEST_F(EditorCoreTest, NoBraceNearTheCaretClearsTheHighlight)
{
    host.SetTextRaw("abc");
    sent.clear();
    CaretTo(0); // the byte before position 0 reads as 0, not a brace
    ASSERT_FALSE(SentOf(Sci::SCI_BRACEHIGHLIGHT).empty());
    EXPECT_EQ(SentOf(Sci::SCI_BRACEHIGHLIGHT).back().wParam, -1);
    EXPECT_EQ(SentOf(Sci::SCI_BRACEHIGHLIGHT).back().lParam, -1);
    EXPECT_TRUE(SentOf(Sci::SCI_BRACEMATCH).empty());
    EXPECT_TRUE(SentOf(Sci::SCI_SETHIGHLIGHTGUIDE).empty());
}

TEST_F(EditorCoreTest, TheBraceAfterTheCaretWinsAndMeetsItsPartner)
{
    host.SetTextRaw("  ()");
    sent.clear();
    CaretTo(3); // between "(" and ")"
    ASSERT_FALSE(SentOf(Sci::SCI_BRACEMATCH).empty());
    EXPECT_EQ(SentOf(Sci::SCI_BRACEMATCH).back().wParam, 3);
    const MessageLog::Sent highlight = SentOf(Sci::SCI_BRACEHIGHLIGHT).back();
    EXPECT_EQ(highlight.wParam, 2);
    EXPECT_EQ(highlight.lParam, 3);
    EXPECT_EQ(host.sci().SendEditor(Sci::SCI_GETHIGHLIGHTGUIDE), 3); // the caret's column
}

TEST_F(EditorCoreTest, AnUnmatchedBraceIsMarkedBadAndTheGuideStays)
{
    host.SetTextRaw("x}");
    host.sci().SendEditor(Sci::SCI_SETHIGHLIGHTGUIDE, 7);
    sent.clear();
    CaretTo(1);
    ASSERT_FALSE(SentOf(Sci::SCI_BRACEBADLIGHT).empty());
    EXPECT_EQ(SentOf(Sci::SCI_BRACEBADLIGHT).back().wParam, 1);
    EXPECT_TRUE(SentOf(Sci::SCI_BRACEHIGHLIGHT).empty());
    EXPECT_EQ(host.sci().SendEditor(Sci::SCI_GETHIGHLIGHTGUIDE), 7);
}

TEST_F(EditorCoreTest, BytesOfMultiByteCharactersAreNeverBraces)
{
    host.SetTextRaw("中(");
    EXPECT_LT(host.sci().CharAtPos(0), 0); // bytes of 128 and above read as negative
    sent.clear();
    CaretTo(3); // after the Chinese character, before "("
    EXPECT_EQ(SentOf(Sci::SCI_BRACEBADLIGHT).back().wParam, 3);
    sent.clear();
    host.SetTextRaw("中");
    CaretTo(3);
    EXPECT_EQ(SentOf(Sci::SCI_BRACEHIGHLIGHT).back().wParam, -1);
}

TEST_F(EditorCoreTest, OnlyClicksInTheFoldMarginToggleAFold)
{
    QSignalSpy clicks(&host.sci(), &clsScintilla::MarginClick);
    host.SetTextRaw("a\nb\nc\n");
    for (int margin : {0, 2}) {
        sent.clear();
        SendNotify(host.sci().sciHwnd, scn::MARGINCLICK, 4, margin);
        EXPECT_TRUE(SentOf(Sci::SCI_TOGGLEFOLD).empty()) << margin;
    }
    EXPECT_EQ(clicks.count(), 2);
    sent.clear();
    SendNotify(host.sci().sciHwnd, scn::MARGINCLICK, 4, 1);
    ASSERT_EQ(SentOf(Sci::SCI_TOGGLEFOLD).size(), 1u);
    EXPECT_EQ(SentOf(Sci::SCI_TOGGLEFOLD).front().wParam, 2); // position 4 lies on line 2
    EXPECT_EQ(clicks.count(), 3);
}

TEST_F(EditorCoreTest, NotificationsOfOtherChildrenAreSwallowed)
{
    QSignalSpy left(&host.sci(), &clsScintilla::SavePointLeft);
    const win::HWND stranger = win::CreateWindowHandle(nullptr, nullptr);
    host.seenByHost.clear();
    SendNotify(stranger, scn::SAVEPOINTLEFT);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(left.count(), 0);
    EXPECT_FALSE(host.seenByHost.contains(win::WM_NOTIFY));

    SendNotify(host.sci().sciHwnd, scn::SAVEPOINTLEFT);
    EXPECT_EQ(left.count(), 1);
    EXPECT_FALSE(host.seenByHost.contains(win::WM_NOTIFY)); // consumed
    win::DestroyWindow(stranger);
}

TEST_F(EditorCoreTest, EachCodeRaisesItsEventAndOthersAreIgnored)
{
    const std::pair<int, void (clsScintilla::*)()> table[] = {
        {scn::STYLENEEDED, &clsScintilla::StyleNeeded},   {scn::CHARADDED, &clsScintilla::CharAdded},
        {scn::SAVEPOINTREACHED, &clsScintilla::SavePointReached},
        {scn::SAVEPOINTLEFT, &clsScintilla::SavePointLeft}, {scn::DOUBLECLICK, &clsScintilla::DoubleClick},
        {scn::UPDATEUI, &clsScintilla::UpdateUI},         {scn::MODIFIED, &clsScintilla::OnModified},
        {scn::MARGINCLICK, &clsScintilla::MarginClick},   {scn::PAINTED, &clsScintilla::Paint},
        {scn::USERLISTSELECTION, &clsScintilla::UserListSelection},
    };
    for (const auto &[code, signal] : table) {
        int raised = 0;
        auto connection = QObject::connect(&host.sci(), signal, [&] { ++raised; });
        SendNotify(host.sci().sciHwnd, code);
        EXPECT_EQ(raised, 1) << code;
        QObject::disconnect(connection);
    }

    int anything = 0;
    for (const auto &entry : table)
        QObject::connect(&host.sci(), entry.second, [&] { ++anything; });
    for (int code : {scn::MODIFYATTEMPTRO, scn::KEY, scn::MACRORECORD, scn::NEEDSHOWN, 2012, scn::ZOOM, 1999})
        SendNotify(host.sci().sciHwnd, code);
    EXPECT_EQ(anything, 0);
}

TEST_F(EditorCoreTest, TypingReachesTheWrapperAsEvents)
{
    QSignalSpy added(&host.sci(), &clsScintilla::CharAdded);
    QSignalSpy left(&host.sci(), &clsScintilla::SavePointLeft);
    QSignalSpy modified(&host.sci(), &clsScintilla::OnModified);
    host.sci().SetFocus();
    PressKey(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_EQ(Text(), QByteArray("a"));
    EXPECT_EQ(added.count(), 1);
    EXPECT_EQ(left.count(), 1);
    EXPECT_GE(modified.count(), 1);
}

TEST_F(EditorCoreTest, CtrlKeysOfTheMenusDoNothingInsideTheEditor)
{
    host.SetTextRaw("hello");
    QApplication::clipboard()->setText(QStringLiteral("CLIP"));
    host.sci().SendEditor(Sci::SCI_SETSEL, 0, 5);

    PressKey(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("CLIP"));
    PressKey(Qt::Key_X, Qt::ControlModifier);
    PressKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), QByteArray("hello"));

    PressKey(Qt::Key_Delete, Qt::NoModifier); // an ordinary binding still works
    EXPECT_EQ(Text(), QByteArray(""));
    PressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), QByteArray(""));

    const long ctrlC = 'C' + (long(Sci::SCMOD_CTRL) << 16);
    EXPECT_EQ(ctrlC, 67 + 0x20000);
}

TEST(Shift, ShiftsByPowersOfTwoAndRaisesOverflow)
{
    EXPECT_EQ(clsScintilla::LShift(2, 16), 131072);
    EXPECT_EQ(clsScintilla::Shift(131072, 16, 0), 2);
    EXPECT_EQ(clsScintilla::Shift(-5, 1, 0), -2);
    try {
        clsScintilla::LShift(1, 31);
        FAIL() << "no overflow";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.Number(), RuntimeError::Overflow);
        EXPECT_EQ(error.Source(), "LShift");
    }
    try {
        clsScintilla::Shift(1, 40, -1);
        FAIL() << "no overflow";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.Source(), "Shift");
    }
}

TEST(EditorLifetime, AWrapperThatGoesAwayTakesItsRegistrationWithIt)
{
    QWidget window;
    const win::HWND handle =
        win::CreateWindowHandle(&window, [](win::HWND, std::int32_t, win::WPARAM, win::LPARAM) -> win::LRESULT { return 0; });
    {
        clsScintilla sci;
        sci.CreateScintilla(&window, vbFalse, nullptr);
        sci.Attach(&window);
        EXPECT_FALSE(win::PropNames(handle).isEmpty());
    }
    EXPECT_TRUE(win::PropNames(handle).isEmpty());
    NotifyRecord record;
    record.code = scn::UPDATEUI;
    win::SendMessage(handle, win::WM_NOTIFY, 0, reinterpret_cast<win::LPARAM>(&record)); // nobody to call
    win::DestroyWindow(handle);
}

} // namespace

namespace {

TEST(EditorAccessibilityTest, APlainObjectServesUntilAScreenReaderListens)
{
    TestEditorHost host;
    host.show();
    EditorWindow *editor = host.sci().Editor();
    ASSERT_FALSE(EditorAccessibility::Listening());
    QAccessibleInterface *plain = QAccessible::queryAccessibleInterface(editor);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->textInterface(), nullptr); // nothing that counts characters
    EXPECT_FALSE(editor->SendScintilla(Sci::SCI_GETMODEVENTMASK) & Sci::SC_MOD_INSERTTEXT);

    QAccessible::setActive(true);
    QAccessibleInterface *full = QAccessible::queryAccessibleInterface(editor);
    ASSERT_NE(full, nullptr);
    EXPECT_NE(full->textInterface(), nullptr);
    EXPECT_TRUE(editor->SendScintilla(Sci::SCI_GETMODEVENTMASK) & Sci::SC_MOD_INSERTTEXT);
    editor->BeginBulkOperation(); // bulk work goes without the reports in any case
    EXPECT_FALSE(editor->SendScintilla(Sci::SCI_GETMODEVENTMASK) & Sci::SC_MOD_INSERTTEXT);
    editor->EndBulkOperation();

    QAccessible::setActive(false);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(editor)->textInterface(), nullptr);
    EXPECT_FALSE(editor->SendScintilla(Sci::SCI_GETMODEVENTMASK) & Sci::SC_MOD_INSERTTEXT);
}

} // namespace
