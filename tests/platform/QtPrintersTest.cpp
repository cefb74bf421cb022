#include <QByteArray>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Failures show Qt's strings as text (tests/support/QtPrinters.h, given to
// every test source).
TEST(QtPrintersTest, StringsPrintAsTextAndStrayBytesEscaped)
{
    EXPECT_EQ(::testing::PrintToString(QStringLiteral("中文 \"x\"")), "\"中文 \\\"x\\\"\"");
    EXPECT_EQ(::testing::PrintToString(QByteArray("a\tb\r\n")), "\"a\\tb\\r\\n\"");
    EXPECT_EQ(::testing::PrintToString(QByteArray("\xE4\xB8\xAD\xFF\0", 5)), "\"\\xE4\\xB8\\xAD\\xFF\\x00\"");
    EXPECT_EQ(::testing::PrintToString(QStringList({"一", "二"})), "{ \"一\", \"二\" }");
}

} // namespace
