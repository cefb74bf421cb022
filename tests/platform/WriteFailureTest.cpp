#include "platform/WriteFailure.h"

#include <gtest/gtest.h>

namespace {

// Every failed write names the file, gives the reason on a line of its own
// and says what became of the user's data.
TEST(WriteFailureTest, OneFileNamesItsPathReasonAndWhatWasKept)
{
    const WriteFailure full{QStringLiteral("/home/u/a.cpp"), QStringLiteral("磁盘空间不足。")};
    EXPECT_EQ(WriteFailureMessage(WrittenFile::Document, {full}),
              QStringLiteral("无法保存文件“/home/u/a.cpp”。\n磁盘空间不足。\n文档未被保存，内容仍在编辑器中。"));
    EXPECT_EQ(WriteFailureMessage(WrittenFile::HtmlPage, {full}),
              QStringLiteral("无法导出到文件“/home/u/a.cpp”。\n磁盘空间不足。\n原有文件保持不变。"));
    EXPECT_EQ(WriteFailureMessage(WrittenFile::LanguageFile, {full}),
              QStringLiteral("无法写入语言文件“/home/u/a.cpp”。\n磁盘空间不足。\n修改没有生效，原有文件保持不变。"));
}

TEST(WriteFailureTest, SeveralFilesAreListedUnderOneHeadline)
{
    const QString text = WriteFailureMessage(
        WrittenFile::LanguageFile,
        {{QStringLiteral("/l/CPP.CHL"), QStringLiteral("权限不够")}, {QStringLiteral("/l/VB.CHL"), QStringLiteral("磁盘空间不足。")}});
    EXPECT_EQ(text, QStringLiteral("以下语言文件无法保存：\n“/l/CPP.CHL”：权限不够\n“/l/VB.CHL”：磁盘空间不足。\n"
                                   "修改没有生效，原有文件保持不变。"));
}

} // namespace
