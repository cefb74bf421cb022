#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

// Finds a run of bytes in a text, either exactly or with the ASCII letters
// in either case (the only folding this component's searches make, plain
// and regular expression alike). It runs at the speed of memchr: a vector
// scan looks for one pair of neighbouring bytes of the run, chosen to be
// rare in the text being searched, and only where that pair occurs is the
// whole run compared.
class LiteralScanner
{
public:
    enum class Letters { Exact, EitherCase };

    LiteralScanner(QByteArray literal, Letters letters);

    qsizetype Size() const { return m_literal.size(); }
    const QByteArray &Literal() const { return m_literal; }

    // Looks for the pair that is rarest in this sample of the text and
    // answers how many times it occurs there.
    qsizetype ChooseAnchor(QByteArrayView sample);

    // Starts are offsets into text, which holds length bytes; a run found
    // lies wholly inside the text. The first start in [from, to), or -1.
    qsizetype Forward(const char *text, qsizetype length, qsizetype from, qsizetype to) const;
    // The last start in [from, to), or -1.
    qsizetype Backward(const char *text, qsizetype length, qsizetype from, qsizetype to) const;
    bool MatchesAt(const char *at) const;

private:
    // Bytes equal to `value` after or-ing `fold` into them: 0x20 takes both
    // cases of a letter (and a few neighbours, which the full comparison
    // then turns away).
    struct ByteClass
    {
        std::uint8_t value = 0;
        std::uint8_t fold = 0;
        bool Holds(std::uint8_t byte) const { return std::uint8_t(byte | fold) == value; }
    };
    ByteClass ClassAt(qsizetype index) const;
    bool Narrowed(qsizetype length, qsizetype from, qsizetype &to) const;
    // A vector scan looks at this many places at once, reading one byte more
    // when the anchor is a pair.
    static constexpr qsizetype Block = 32;
    qsizetype Reach() const { return m_paired ? Block + 1 : Block; }
    bool AnchorAt(const std::uint8_t *at) const;
    std::uint32_t BlockMask(const std::uint8_t *at) const;

    QByteArray m_literal; // letters folded to lower case when either case counts
    Letters m_letters;
    qsizetype m_anchor = 0; // the pair starts here in the run
    bool m_paired = false;
    ByteClass m_first;
    ByteClass m_second;
};
