#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTranslator>
#include <QUrl>

namespace {

// The parser's own words (headings of the help, its complaints) in Chinese;
// everything else it says is ours already.
class ParserWords : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QCommandLineParser") != 0)
            return QString();
        static const std::pair<const char *, const char *> words[] = {
            {"Usage: %1", "用法：%1"},
            {"Options:", "选项："},
            {"Arguments:", "参数："},
            {"[options]", "[选项]"},
            {"Unknown option '%1'.", "未知的选项“%1”。"},
            {"Unknown options: %1.", "未知的选项：%1。"},
            {"Missing value after '%1'.", "选项“%1”后缺少值。"},
            {"Unexpected value after '%1'.", "选项“%1”不接受值。"},
        };
        for (const auto &[english, chinese] : words)
            if (qstrcmp(sourceText, english) == 0)
                return QString::fromUtf8(chinese);
        return QString();
    }

    bool isEmpty() const override { return false; }
};

// "+N": the caret goes to line N of the file that follows.
std::optional<int> LineArgument(const QString &argument)
{
    static const QRegularExpression plusLine(QStringLiteral("^\\+(\\d{1,9})$"));
    const QRegularExpressionMatch match = plusLine.match(argument);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

// "FILE:N" or "FILE:N:M", unless a file of exactly that name exists. A file
// that exists decides how much of the name is the path ("log:12:3" is line
// 3 of an existing "log:12"); for a file yet to be made, both numbers are
// the place.
FileToOpen FileArgument(const QString &argument, const QDir &base)
{
    QString path = argument;
    if (argument.startsWith(QLatin1String("file:")) && QUrl(argument).isLocalFile())
        path = QUrl(argument).toLocalFile();
    const auto at = [&base](const QString &name, int line = 0, int column = 0) {
        return FileToOpen{QDir::cleanPath(base.absoluteFilePath(name)), line, column};
    };
    if (QFileInfo::exists(at(path).path))
        return at(path);
    static const QRegularExpression lineOnly(QStringLiteral("^(.+):(\\d{1,9})$"));
    static const QRegularExpression lineAndColumn(QStringLiteral("^(.+):(\\d{1,9}):(\\d{1,9})$"));
    const QRegularExpressionMatch one = lineOnly.match(path);
    const QRegularExpressionMatch two = lineAndColumn.match(path);
    if (one.hasMatch() && QFileInfo::exists(at(one.captured(1)).path))
        return at(one.captured(1), one.captured(2).toInt());
    if (two.hasMatch())
        return at(two.captured(1), two.captured(2).toInt(), two.captured(3).toInt());
    if (one.hasMatch())
        return at(one.captured(1), one.captured(2).toInt());
    return at(path);
}

QList<FileToOpen> Files(const QStringList &positional, const QDir &base)
{
    QList<FileToOpen> files;
    // A plain flag and number rather than an optional: GCC takes the
    // optional's value for uninitialised here.
    bool linePending = false;
    int pendingLine = 0;
    for (const QString &argument : positional) {
        if (const std::optional<int> line = LineArgument(argument)) {
            linePending = true;
            pendingLine = *line;
            continue;
        }
        FileToOpen file = FileArgument(argument, base);
        if (linePending) {
            file.line = pendingLine;
            file.column = 0;
            linePending = false;
        }
        files.append(file);
    }
    // "ferrolan a.c +12": a line given last goes with the file before it.
    if (linePending && !files.isEmpty()) {
        files.last().line = pendingLine;
        files.last().column = 0;
    }
    return files;
}

} // namespace

CommandLine CommandLine::Parse(const QStringList &arguments, const QString &workingDir)
{
    ParserWords words;
    const bool translating = QCoreApplication::instance() && QCoreApplication::installTranslator(&words);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Ferrolan 多文档编辑器：带语法高亮的源代码编辑器。\n"
                                                    "程序已在运行时，文件交给正在运行的程序打开。"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("显示本帮助并退出。"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("显示版本并退出。"));
    const QCommandLineOption newInstance(QStringLiteral("new-instance"),
                                         QStringLiteral("另启动一个程序，不把文件交给正在运行的程序。"));
    parser.addOptions({help, version, newInstance});
    parser.addPositionalArgument(QStringLiteral("文件"),
                                 QStringLiteral("要打开的文件，每个一个文档窗口，最后一个在前。\n"
                                                "“文件:行”或“文件:行:列”把光标放到该处；"
                                                "“+行”作用于其后的文件。\n不存在的文件作为新文档打开，保存时写到该处。"),
                                 QStringLiteral("[+行] [文件[:行[:列]]…]"));

    CommandLine line;
    // The program's name first, as the parser expects it.
    const bool parsed = parser.parse(QStringList{QStringLiteral("ferrolan")} + arguments);
    if (!parsed) {
        line.action = Action::Refuse;
        line.text = parser.errorText() + QStringLiteral("\n用 “ferrolan --help” 查看用法。\n");
    } else if (parser.isSet(help)) {
        line.action = Action::ShowHelp;
        line.text = parser.helpText();
    } else if (parser.isSet(version)) {
        line.action = Action::ShowVersion;
        line.text = QStringLiteral("Ferrolan %1\n").arg(QCoreApplication::applicationVersion());
    } else {
        line.newInstance = parser.isSet(newInstance);
        line.files = Files(parser.positionalArguments(), QDir(workingDir));
    }
    if (translating)
        QCoreApplication::removeTranslator(&words);
    return line;
}
