// Call tips from any API file and any typing: nothing hangs (libFuzzer's
// time limit), every tip is a bounded line, and every highlight lies inside
// the tip on show.
#include "FuzzSupport.h"
#include "MessageLog.h"
#include "TestEditorHost.h"

#include <QApplication>
#include <QTest>
#include <fuzzer/FuzzedDataProvider.h>

using Sci = QsciScintillaBase;

namespace {

TestEditorHost &Host()
{
    static auto *host = [] {
        auto *made = new TestEditorHost; // lives for the whole run
        made->show();
        made->sci().ShowCallTips(vbTrue);
        return made;
    }();
    return *host;
}

// The keys a typist of calls presses most, Enter ("\n") and Tab among them.
constexpr char Keys[] = "abcxyzABC_019(),( ) ,\t\n;.\"'";

void Press(QWidget *editor, char key)
{
    if (key == '\n')
        QTest::keyClick(editor, Qt::Key_Return);
    else if (key == '\t')
        QTest::keyClick(editor, Qt::Key_Tab);
    else
        QTest::keyClick(editor, key);
}

void CheckRequests(const MessageLog &log, const QByteArray &api, const QByteArray &typed)
{
    const QByteArray context = "api: " + api.toPercentEncoding() + "\ntyped: " + typed.toPercentEncoding();
    qsizetype tipLength = -1;
    for (const MessageLog::Sent &sent : log.all) {
        if (sent.msg == Sci::SCI_CALLTIPSHOW) {
            tipLength = qsizetype(sent.text.size());
            // A cut tip ends in the three bytes of "…".
            fuzz::Require(tipLength <= ApiEntry::TipLimit + 3, "a tip is cut to its limit", context);
            fuzz::Require(fuzz::IsValidUtf8(QByteArray::fromStdString(sent.text)) || !fuzz::IsValidUtf8(api),
                          "a tip from a UTF-8 file is UTF-8", context);
        } else if (sent.msg == Sci::SCI_CALLTIPSETHLT) {
            fuzz::Require(tipLength >= 0, "a highlight follows a tip", context);
            fuzz::Require(0 <= sent.wParam && sent.wParam <= sent.lParam && sent.lParam <= tipLength,
                          "the highlight lies inside the tip",
                          context + "\nhighlight " + QByteArray::number(qint64(sent.wParam)) + " to "
                              + QByteArray::number(qint64(sent.lParam)) + " of "
                              + QByteArray::number(tipLength));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::StartQt();
    Host();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    QByteArray typed;
    for (const uint8_t key : input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 24)))
        typed += Keys[key % (sizeof(Keys) - 1)];
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray api(rest.data(), qsizetype(rest.size()));

    const QString path = fuzz::Scratch(QStringLiteral("fuzz.api"));
    fuzz::WriteAll(path, api);
    clsScintilla &sci = Host().sci();
    sci.StopCallTip();
    sci.SetText(QString());
    fuzz::Require(sci.LoadAPIFile(path).ok(), "a small regular API file loads");

    MessageLog log(sci);
    for (const char key : typed)
        Press(sci.Editor(), key);
    QApplication::processEvents();
    sci.ObserveMessages({});
    CheckRequests(log, api, typed);
    return 0;
}
