// Loading a document and saving it untouched gives the file's own bytes, in
// every encoding it can be opened as, whatever the size of the chunks it is
// read in (small chunks put their edges inside characters and marks).
#include "FuzzSupport.h"
#include "editor/BackgroundLoad.h"
#include "TestEditorHost.h"
#include "editor/TextEncoding.h"

#include <QList>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>

namespace {

TestEditorHost &Host()
{
    static auto *host = new TestEditorHost; // lives for the whole run
    return *host;
}

QByteArray Describe(const QString &how, qint64 chunk, const QByteArray &file, const QByteArray &saved)
{
    return how.toUtf8() + ", chunks of " + QByteArray::number(chunk) + " bytes\nfile:  "
           + file.toHex(' ') + "\nsaved: " + saved.toHex(' ');
}

void RoundTrip(const QString &how, const FileIoResult &loaded, qint64 chunk, const QByteArray &file)
{
    clsScintilla &sci = Host().sci();
    if (!loaded.ok()) {
        // Only a reopen as a given encoding may refuse; it then leaves the
        // document alone.
        fuzz::Require(how != QLatin1String("detected"), "a regular file always opens",
                      loaded.reason.toUtf8() + "\n" + file.toHex(' '));
        fuzz::Require(!loaded.partial, "a refused reopen leaves the document as it was");
        return;
    }
    fuzz::Require(!sci.Modified(), "a loaded document is unmodified");
    const QString out = fuzz::Scratch(QStringLiteral("saved"));
    const FileIoResult saved = sci.SaveToFile(out);
    fuzz::Require(saved.ok(), "a loaded document saves", saved.reason.toUtf8() + "\n" + Describe(how, chunk, file, {}));
    const QByteArray bytes = fuzz::ReadAll(out);
    fuzz::Require(bytes == file, "load then save gives the file's bytes", Describe(how, chunk, file, bytes));
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
    const qint64 chunk = input.ConsumeIntegralInRange<qint64>(1, 64);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray file(rest.data(), qsizetype(rest.size()));
    const QString path = fuzz::Scratch(QStringLiteral("document"));
    fuzz::WriteAll(path, file);

    clsScintilla &sci = Host().sci();
    sci.SetReadChunkSize(chunk);
    // The first load goes through the reading and feeding threads, the
    // reopens are read at once, as small files are.
    const qint64 inlineBelow = std::exchange(BackgroundLoad::InlineBelow(), 0);
    RoundTrip(QStringLiteral("detected"), sci.LoadFile(path), chunk, file);
    BackgroundLoad::InlineBelow() = inlineBelow;
    for (const TextEncoding &encoding : TextEncoding::All(TextEncoding::Menu::Reopen)) {
        // Each reopen starts from the file as opened; that load was checked above.
        static_cast<void>(sci.LoadFile(path));
        RoundTrip(QStringLiteral("reopened as ") + encoding.Name(), sci.LoadFile(path, encoding), chunk, file);
    }
    return 0;
}
