#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <vector>

// What a replace-all changed, kept small: for each match where it began in
// the text before the replacement, and its bytes where they differ from the
// first match's (they do only when case is ignored or for a regular
// expression). A million matches take a few megabytes, where the
// component's own undo history would keep every replaced stretch twice.
// From it the replacement is taken back (undo, or a replace-all the user
// stopped) and made again (redo).
class ReplacementLog
{
public:
    explicit ReplacementLog(QByteArray with) : m_with(std::move(with)) {}

    // Matches come in order, each after the end of the one before.
    void Add(long originalStart, QByteArrayView original);
    qint64 Count() const { return m_count; }
    const QByteArray &With() const { return m_with; }
    // How much longer the text is with every replacement made.
    qint64 Growth() const { return m_growth; }

    class Reader
    {
    public:
        explicit Reader(const ReplacementLog &log) : m_log(log) {}
        // The next match: where it began before the replacement, and its bytes.
        bool Next(long &originalStart, QByteArrayView &original);

    private:
        std::uint64_t Number();
        const ReplacementLog &m_log;
        std::size_t m_at = 0;
        long m_end = 0;
    };

private:
    void PutNumber(std::uint64_t value);

    QByteArray m_with;
    QByteArray m_common; // the first match's bytes
    std::vector<std::uint8_t> m_entries;
    qint64 m_count = 0;
    qint64 m_growth = 0;
    long m_end = 0; // where the last match ended
};
