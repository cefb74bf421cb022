#pragma once

#include "TextEncoding.h"

#include <QByteArrayView>
#include <cstdint>
#include <vector>

// GB18030 or Big5, converted through tables that Qt's own converters fill:
// each byte pair is decoded once, and kept only when
// Qt's encoder gives the very same bytes back. Files then decode by look-up,
// already checked for the round trip (Qt's ICU converters take several times
// as long, and would need a second pass to check it). GB18030's four-byte
// sequences, rare in Chinese text, still go through Qt a run at a time.
class LegacyCodec
{
public:
    // The codec for GB18030 or Big5, built on first use; nullptr when Qt has
    // no converter for it here.
    static const LegacyCodec *For(TextEncoding::Codec codec);

    struct Step
    {
        qsizetype used = 0;    // input bytes consumed; on failure, the offset of the bad sequence
        qsizetype written = 0; // output bytes
        bool ok = true;
    };

    // Decodes whole characters from the start of in, as UTF-8 to out, which
    // must have room for 3 * in.size() + 8 bytes (nullptr only counts). A
    // character cut off at the end is left for the next call unless last.
    // Stops, not ok, at a sequence that is not valid or would not come back
    // as the same bytes.
    Step Decode(QByteArrayView in, bool last, char *out) const;

    // Encodes whole UTF-8 characters from the start of utf8 to out, which
    // must have room for 2 * utf8.size() + 8 bytes. Stops, not ok, at the
    // first character this encoding cannot hold (or at bytes that are not
    // UTF-8).
    Step Encode(QByteArrayView utf8, bool last, char *out) const;

    LegacyCodec(const char *qtName, bool fourByteSequences);
    bool IsUsable() const { return m_usable; }

private:
    struct Utf8Char
    {
        std::uint8_t length = 0; // 0: no character
        char bytes[4] = {};
    };
    static constexpr int FirstLead = 0x81;
    static constexpr int FirstTrail = 0x40;
    static constexpr int TrailCount = 0xFF - FirstTrail;
    static constexpr std::uint16_t NoCode = 0;

    void BuildTables();
    const Utf8Char &Pair(unsigned char lead, unsigned char trail) const
    {
        return m_pairs[(lead - FirstLead) * TrailCount + (trail - FirstTrail)];
    }
    bool DecodeRun(const char *bytes, qsizetype length, QByteArray &utf8) const;
    bool EncodeRun(QByteArrayView utf8, QByteArray &bytes) const;

    const char *m_qtName;
    bool m_fourByte;
    bool m_usable = false;
    std::vector<Utf8Char> m_pairs;
    // Code point (BMP) to its byte pair; NoCode where the table has none.
    // Code point (BMP) to its one- or two-byte code: a value below 0x100 is
    // one byte; NoCode where the tables have none.
    std::vector<std::uint16_t> m_codes;
};
