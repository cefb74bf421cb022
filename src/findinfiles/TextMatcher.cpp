#include "TextMatcher.h"

#include "LiteralMatcher.h"
#include "RegexMatcher.h"

std::unique_ptr<TextMatcher> TextMatcher::Make(const TextQuery &query, const ComponentWordRules &words, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return nullptr;
    };
    if (query.text.isEmpty())
        return fail(QStringLiteral("请输入要查找的内容。"));
    if (query.regularExpression)
        return RegexMatcher::Make(query, words, error);
    if (query.text.contains(QLatin1Char('\n')) || query.text.contains(QLatin1Char('\r')))
        return fail(QStringLiteral("在文件中查找逐行进行，查找内容不能包含换行。"));
    return std::make_unique<LiteralMatcher>(query, words);
}
