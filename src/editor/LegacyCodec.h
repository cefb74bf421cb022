#pragma once

#include "TextEncoding.h"

#include <QByteArrayView>
#include <cstdint>
#include <unordered_map>
#include <vector>

// A multi-byte character set (GB18030, Big5, Shift_JIS, EUC-JP, EUC-KR, GBK,
// ...) converted through tables that Qt's own converters fill: each byte and
// byte pair is decoded once, and kept only when Qt's encoder gives the very
// same bytes back. Files then decode by look-up, already checked for the
// round trip (Qt's ICU converters take several times as long, and would need
// a second pass to check it). Longer sequences (GB18030's four bytes,
// EUC-JP's three), rare in text, still go through Qt a run at a time.
class LegacyCodec
{
public:
    // The codec for a multi-byte character set, built on first use; nullptr
    // when Qt has no converter for it here.
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

    // Sequences longer than two bytes, which go through Qt.
    enum class LongForm { None, GbFourByte, EucThreeByte };

    LegacyCodec(const char *qtName, LongForm longForm);
    bool IsUsable() const { return m_usable; }

private:
    struct Utf8Char
    {
        std::uint8_t length = 0; // 0: no character
        char bytes[4] = {};
    };
    static constexpr std::uint16_t NoCode = 0;

    void BuildTables();
    const Utf8Char &Pair(unsigned char lead, unsigned char trail) const
    {
        return m_pairs[size_t(lead - 0x80) * 256 + trail];
    }
    // The length of the long sequence starting at p (of n bytes): 0 when
    // there is none, -1 when it may be one cut off at the end.
    int LongLength(const unsigned char *p, qsizetype n) const;
    std::uint16_t CodeOf(char32_t cp) const;
    bool DecodeRun(const char *bytes, qsizetype length, QByteArray &utf8) const;
    bool EncodeRun(QByteArrayView utf8, QByteArray &bytes) const;

    const char *m_qtName;
    LongForm m_longForm;
    bool m_usable = false;
    Utf8Char m_singles[128];     // bytes 0x80 to 0xFF alone
    bool m_isLead[128] = {};     // bytes 0x80 to 0xFF that begin a pair
    std::vector<Utf8Char> m_pairs; // by lead (0x80 up) and trail
    // Code point to its code: a value below 0x100 is one byte, else a pair;
    // NoCode where the tables have none.
    std::vector<std::uint16_t> m_codes; // the BMP
    std::unordered_map<char32_t, std::uint16_t> m_supplementaryCodes;
};
