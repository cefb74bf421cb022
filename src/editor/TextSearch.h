#pragma once

#include "LiteralScanner.h"
#include "platform/LongOperation.h"

#include <QByteArray>
#include <memory>

class clsScintilla;

// One search text with its options, made ready once for the searches of
// one editor's document. A search answers exactly what the component's own
// target search answers over the same range; it only gets there faster:
// - plain text is found by a byte scan of the component's buffer, and each
//   place found goes to the component's own search over exactly its bytes,
//   which judges word options and case as it always does;
// - a regular expression with runs of literal bytes (RegexLiterals) is
//   handed to the component only on the lines where the rarest run occurs;
// - any other regular expression goes to the component a slice of lines at
//   a time, and so does plain text if the component folds more than ASCII.
// Every kind runs in slices and lets the interface breathe between them.
class TextSearch
{
public:
    struct Match
    {
        long start = -1;
        long end = -1;
        bool Found() const { return start >= 0; }
    };

    TextSearch(clsScintilla &sci, QByteArray text, long flags);
    bool IsFor(const QByteArray &text, long flags) const
    {
        return text == m_text && flags == m_flags && m_componentOnly == ComponentOnly();
    }
    // Tests send every search the component's own way (in slices), to hold
    // that way to the answers of the others.
    static bool &ComponentOnly();

    // From start to end, backwards when start > end. A match the component
    // confirmed leaves its target on it; with `bulk`, a byte match that has
    // nothing left to judge (no word options) stands without it. Nothing is
    // found once the operation has been stopped.
    Match Find(long start, long end, LongOperation &operation, bool bulk);
    // The document changed: what was read of its buffer is stale.
    void Forget() { m_window = {}; }

private:
    enum class Kind { Bytes, RegexLines, Component, Never };

    // A stretch of the buffer read at once: starts in [from, candidatesEnd)
    // are looked at, the bytes up to dataEnd are there to compare.
    struct Window
    {
        long from = 0;
        long candidatesEnd = 0;
        long dataEnd = 0;
        const char *text = nullptr;
    };

    void Prepare();
    long Length() const;
    long LineOf(long position) const;
    long LineStart(long line) const;
    long LineEnd(long line) const;
    unsigned char ByteAt(long position) const;
    long OutsideCharacter(long position, int direction, bool lineEnds) const;
    const char *Read(long from, long length) const;
    bool ChecksWords() const;

    const Window *ForwardWindow(long from, long lastStart, long dataLimit, LongOperation &operation, bool &breathe);
    long ScanForward(long from, long lastStart, long dataLimit, LongOperation &operation, const std::function<bool(long)> &take);
    long ScanBackward(long lowest, long below, long dataLimit, LongOperation &operation, const std::function<bool(long)> &take);

    Match FindBytes(long start, long end, LongOperation &operation, bool bulk);
    Match ConfirmBytes(long position, bool bulk);
    Match FindOnLiteralLines(long start, long end, LongOperation &operation);
    Match SearchLines(long targetStart, long targetEnd);
    Match FindByComponent(long start, long end, LongOperation &operation);
    Match AskComponent(long targetStart, long targetEnd);

    clsScintilla &m_sci;
    QByteArray m_text;
    long m_flags;
    bool m_componentOnly;
    Kind m_kind = Kind::Component;
    std::unique_ptr<LiteralScanner> m_scanner; // the text itself, or a regular expression's rarest run
    bool m_prepared = false;
    Window m_window;
    LongOperation::Pace m_pace;
};
