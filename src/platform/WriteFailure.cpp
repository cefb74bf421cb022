#include "WriteFailure.h"

namespace {

struct Wording
{
    const char *one;         // the headline for one file, %1 its path
    const char *several;     // the headline above a list of files
    const char *consequence; // what became of the user's data
};

Wording WordingFor(WrittenFile kind)
{
    switch (kind) {
    case WrittenFile::Document:
        return {"无法保存文件“%1”。", "以下文件无法保存：", "文档未被保存，内容仍在编辑器中。"};
    case WrittenFile::HtmlPage:
        return {"无法导出到文件“%1”。", "以下文件无法导出：", "原有文件保持不变。"};
    case WrittenFile::ReplacedFile:
        return {"无法替换文件“%1”中的内容。", "以下文件中的内容没有替换：", "这些文件保持原样。"};
    case WrittenFile::LanguageFile:
        break;
    }
    return {"无法写入语言文件“%1”。", "以下语言文件无法保存：", "修改没有生效，原有文件保持不变。"};
}

} // namespace

QString WriteFailureMessage(WrittenFile kind, const QList<WriteFailure> &failures)
{
    const Wording wording = WordingFor(kind);
    QString text;
    if (failures.size() == 1) {
        text = QString::fromUtf8(wording.one).arg(failures.front().path) + QLatin1Char('\n') + failures.front().reason;
    } else {
        text = QString::fromUtf8(wording.several);
        for (const WriteFailure &failure : failures)
            text += QStringLiteral("\n“%1”：%2").arg(failure.path, failure.reason);
    }
    return text + QLatin1Char('\n') + QString::fromUtf8(wording.consequence);
}
