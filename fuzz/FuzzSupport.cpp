#include "FuzzSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

namespace fuzz {
namespace {

// In memory where there is a tmpfs: every save syncs its file, which a disk
// makes a thousand times slower.
QTemporaryDir &Sandbox()
{
    static QTemporaryDir sandbox(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/ferrolan-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/ferrolan-fuzz-XXXXXX"));
    return sandbox;
}

} // namespace

void StartQt()
{
    if (QCoreApplication::instance())
        return;
    const QString config = Sandbox().filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", Sandbox().path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole run
}

QString Scratch(const QString &name)
{
    return Sandbox().filePath(name);
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Broken("a file just written can be read", path.toUtf8());
    return file.readAll();
}

void WriteAll(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes.data(), bytes.size()) != bytes.size())
        Broken("the scratch folder takes a file", path.toUtf8());
}

bool IsValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        int more;
        char32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
}

void Broken(const char *property, const QByteArray &detail)
{
    std::fprintf(stderr, "\n==== BROKEN PROPERTY: %s\n", property);
    if (!detail.isEmpty())
        std::fprintf(stderr, "%.*s\n", int(std::min<qsizetype>(detail.size(), 4000)), detail.constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzz
