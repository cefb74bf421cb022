#include "platform/RuntimeError.h"
#include "subclass/GSubclass.h"
#include "subclass/MSubclass.h"

#include <QMap>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

using namespace win;

namespace {

QStringList g_log;

LRESULT BaseProc(HWND hWnd, std::int32_t iMsg, WPARAM, LPARAM)
{
    g_log << QStringLiteral("base:%1").arg(iMsg);
    if (iMsg == WM_DESTROY)
        g_log << QStringLiteral("proc-at-destroy-is-base:%1").arg(GetWindowProc(hWnd) == &BaseProc);
    return 1000;
}

class Listener : public ISubclass
{
public:
    Listener(QString name, int response = emrConsume, LRESULT result = 0)
        : name(std::move(name)), response(response), result(result)
    {
    }

    int MsgResponse() override
    {
        ++responseReads;
        return response;
    }
    void MsgResponse(int value) override { response = value; }

    LRESULT WindowProc(HWND hWnd, std::int32_t iMsg, WPARAM wParam, LPARAM lParam) override
    {
        g_log << name;
        currentMessageSeen = GSubclass::CurrentMessage();
        if (during)
            during(hWnd, iMsg, wParam, lParam);
        return result;
    }

    QString name;
    int response;
    LRESULT result;
    int responseReads = 0;
    std::int32_t currentMessageSeen = 0;
    std::function<void(HWND, std::int32_t, WPARAM, LPARAM)> during;
};

QMap<QString, std::intptr_t> Records(HWND hWnd)
{
    QMap<QString, std::intptr_t> records;
    for (const QString &name : PropNames(hWnd))
        records.insert(name, GetProp(hWnd, name));
    return records;
}

long ErrorNumberOf(const std::function<void()> &action, QString *description = nullptr, QString *source = nullptr)
{
    try {
        action();
    } catch (const RuntimeError &error) {
        if (description)
            *description = error.Description();
        if (source)
            *source = error.Source();
        return error.Number();
    }
    return 0;
}

class SubclassTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        window = CreateWindowHandle(nullptr, &BaseProc);
    }
    void TearDown() override { DestroyWindow(window); }

    HWND window = 0;
};

TEST_F(SubclassTest, RecordNamesAreBuiltFromDecimalNumbers)
{
    EXPECT_EQ(MSubclass::OldProcName(1234), "1234");
    EXPECT_EQ(MSubclass::AttachCountName(1234), "C1234");
    EXPECT_EQ(MSubclass::ClientCountName(1234, 78), "1234#78C");
    EXPECT_EQ(MSubclass::ClientName(1234, 78, 1), "1234#78#1");
    EXPECT_EQ(MSubclass::ClientName(1234, -5, 12), "1234#-5#12");
}

TEST_F(SubclassTest, AttachInstallsOnceAndCountsRegistrationsPerWindow)
{
    Listener a(QStringLiteral("A"));
    MSubclass::AttachMessage(&a, window, WM_NOTIFY);
    EXPECT_NE(GetWindowProc(window), &BaseProc);
    EXPECT_EQ(GetProp(window, MSubclass::OldProcName(window)), reinterpret_cast<std::intptr_t>(&BaseProc));

    const QMap<QString, std::intptr_t> before = Records(window);
    QString description;
    EXPECT_EQ(ErrorNumberOf([&] { MSubclass::AttachMessage(&a, window, WM_NOTIFY); }, &description),
              0x8004331A);
    EXPECT_EQ(description, "Message already handled by another class");
    EXPECT_EQ(Records(window), before);

    MSubclass::AttachMessage(&a, window, 79);
    EXPECT_EQ(GetProp(window, MSubclass::AttachCountName(window)), 2);
    EXPECT_EQ(GetProp(window, MSubclass::ClientCountName(window, 79)), 1);
    // Installed once: the saved procedure is still the window's own.
    EXPECT_EQ(GetProp(window, MSubclass::OldProcName(window)), reinterpret_cast<std::intptr_t>(&BaseProc));

    MSubclass::DetachMessage(&a, window, WM_NOTIFY);
    MSubclass::DetachMessage(&a, window, 79);
}

TEST_F(SubclassTest, AttachRefusesMissingAndForeignWindows)
{
    Listener a(QStringLiteral("A"));
    QString description, source;
    EXPECT_EQ(ErrorNumberOf([&] { MSubclass::AttachMessage(&a, 0x7fffffff, WM_NOTIFY); }, &description, &source),
              0x8004331B);
    EXPECT_EQ(description, "Invalid window");
    EXPECT_TRUE(source.endsWith(".WindowProc")) << source.toStdString();

    const HWND foreign = CreateForeignWindowHandle(&BaseProc, GetCurrentProcessId() + 1);
    EXPECT_EQ(ErrorNumberOf([&] { MSubclass::AttachMessage(&a, foreign, WM_NOTIFY); }, &description), 0x8004331C);
    EXPECT_EQ(description, "Can't modify external window");
    EXPECT_TRUE(PropNames(foreign).isEmpty());
    DestroyWindow(foreign);
}

TEST_F(SubclassTest, LatestListenerRunsFirstAndOnlyTheFirstRegisteredDecides)
{
    Listener a(QStringLiteral("A"), emrConsume, 7), b(QStringLiteral("B"), emrPostProcess, 8);
    MSubclass::AttachMessage(&a, window, WM_NOTIFY);
    MSubclass::AttachMessage(&b, window, WM_NOTIFY);

    const LRESULT result = SendMessage(window, WM_NOTIFY, 0, 0);
    EXPECT_EQ(g_log, QStringList({"B", "A"}));
    EXPECT_EQ(result, 7); // consume: A's result, the window's own procedure never ran
    EXPECT_EQ(b.responseReads, 0);
    EXPECT_GT(a.responseReads, 0);
    EXPECT_EQ(a.currentMessageSeen, WM_NOTIFY);
    EXPECT_EQ(MSubclass::CurrentMessage(), WM_NOTIFY);

    MSubclass::DetachMessage(&b, window, WM_NOTIFY);
    MSubclass::DetachMessage(&a, window, WM_NOTIFY);
}

TEST_F(SubclassTest, PreProcessRunsThePreviousProcedureJustBeforeTheFirstListener)
{
    Listener a(QStringLiteral("A"), emrPreprocess, 7), b(QStringLiteral("B"), emrConsume, 8);
    MSubclass::AttachMessage(&a, window, WM_NOTIFY);
    MSubclass::AttachMessage(&b, window, WM_NOTIFY);

    EXPECT_EQ(SendMessage(window, WM_NOTIFY, 0, 0), 7);
    EXPECT_EQ(g_log, QStringList({"B", "base:78", "A"}));

    MSubclass::DetachMessage(&b, window, WM_NOTIFY);
    MSubclass::DetachMessage(&a, window, WM_NOTIFY);
}

TEST_F(SubclassTest, PostProcessRunsThePreviousProcedureLastAndTakesItsResult)
{
    Listener a(QStringLiteral("A"), emrPostProcess, 7);
    MSubclass::AttachMessage(&a, window, WM_NOTIFY);
    EXPECT_EQ(SendMessage(window, WM_NOTIFY, 0, 0), 1000);
    EXPECT_EQ(g_log, QStringList({"A", "base:78"}));

    // Messages nobody listens to go straight to the window's own procedure.
    g_log.clear();
    EXPECT_EQ(SendMessage(window, 99, 0, 0), 1000);
    EXPECT_EQ(g_log, QStringList({"base:99"}));
    MSubclass::DetachMessage(&a, window, WM_NOTIFY);
}

TEST_F(SubclassTest, ListenersMayAttachAndDetachWhileTheyAreCalled)
{
    Listener a(QStringLiteral("A")), b(QStringLiteral("B")), c(QStringLiteral("C"));
    MSubclass::AttachMessage(&a, window, WM_NOTIFY);
    MSubclass::AttachMessage(&b, window, WM_NOTIFY);
    b.during = [&](HWND hWnd, std::int32_t iMsg, WPARAM, LPARAM) {
        MSubclass::AttachMessage(&c, hWnd, iMsg); // joins after this dispatch
        MSubclass::DetachMessage(&b, hWnd, iMsg);
        b.during = nullptr;
    };

    SendMessage(window, WM_NOTIFY, 0, 0);
    EXPECT_EQ(g_log, QStringList({"B", "A"}));

    g_log.clear();
    SendMessage(window, WM_NOTIFY, 0, 0);
    EXPECT_EQ(g_log, QStringList({"C", "A"}));

    MSubclass::DetachMessage(&c, window, WM_NOTIFY);
    MSubclass::DetachMessage(&a, window, WM_NOTIFY);
}

TEST_F(SubclassTest, DetachIsSilentAndTheLastOneRestoresTheWindow)
{
    Listener a(QStringLiteral("A")), stranger(QStringLiteral("S"));
    MSubclass::AttachMessage(&a, window, WM_NOTIFY);
    const QMap<QString, std::intptr_t> before = Records(window);
    MSubclass::DetachMessage(&stranger, window, WM_NOTIFY);
    MSubclass::DetachMessage(&a, window, 12345);
    MSubclass::DetachMessage(&a, 0x7fffffff, WM_NOTIFY);
    EXPECT_EQ(Records(window), before);

    MSubclass::DetachMessage(&a, window, WM_NOTIFY);
    EXPECT_EQ(GetWindowProc(window), &BaseProc);
    EXPECT_TRUE(PropNames(window).isEmpty()) << PropNames(window).join(',').toStdString();
}

TEST_F(SubclassTest, RemovalClosesTheGapInTheListenerList)
{
    Listener a(QStringLiteral("A")), b(QStringLiteral("B")), c(QStringLiteral("C"));
    for (Listener *l : {&a, &b, &c})
        MSubclass::AttachMessage(l, window, WM_NOTIFY);
    MSubclass::DetachMessage(&a, window, WM_NOTIFY);
    EXPECT_EQ(GetProp(window, MSubclass::ClientCountName(window, WM_NOTIFY)), 2);
    EXPECT_EQ(GetProp(window, MSubclass::ClientName(window, WM_NOTIFY, 1)), reinterpret_cast<std::intptr_t>(&b));
    EXPECT_EQ(GetProp(window, MSubclass::ClientName(window, WM_NOTIFY, 2)),
              reinterpret_cast<std::intptr_t>(static_cast<ISubclass *>(&c)));
    EXPECT_EQ(GetProp(window, MSubclass::ClientName(window, WM_NOTIFY, 3)), 0);
    MSubclass::DetachMessage(&b, window, WM_NOTIFY);
    MSubclass::DetachMessage(&c, window, WM_NOTIFY);
}

TEST_F(SubclassTest, DestroyTakesTheSubclassOffBeforeTheWindowSeesIt)
{
    Listener a(QStringLiteral("A"));
    MSubclass::AttachMessage(&a, window, WM_NOTIFY);
    DestroyWindow(window);
    EXPECT_EQ(g_log, QStringList({"base:2", "proc-at-destroy-is-base:1"}));
    EXPECT_FALSE(IsWindow(window));
    MSubclass::DetachMessage(&a, window, WM_NOTIFY); // window gone: silent
    EXPECT_EQ(GSubclass::CallOldWindowProc(window, WM_NOTIFY, 0, 0), 0);
}

TEST_F(SubclassTest, CallOldWindowProcReachesTheSavedProcedure)
{
    EXPECT_EQ(GSubclass::CallOldWindowProc(window, 5, 0, 0), 0); // not subclassed
    Listener a(QStringLiteral("A"));
    GSubclass::AttachMessage(&a, window, WM_NOTIFY);
    EXPECT_EQ(GSubclass::CallOldWindowProc(window, 5, 0, 0), 1000);
    GSubclass::DetachMessage(&a, window, WM_NOTIFY);
}

} // namespace
