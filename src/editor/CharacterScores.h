#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <vector>

// What text costs in a language: the sum over its characters from U+0080 up
// of -log2 of how likely each is in that language, from the counts the build
// made of real text (CharacterFrequencyData). A mixture with a uniform
// chance keeps characters never seen finite, and the same in every language.
class CharacterScores
{
public:
    enum Language { SimplifiedChinese, TraditionalChinese, Japanese, Korean, LanguageCount };

    static const CharacterScores &Get();

    // In bits; valid UTF-8 is assumed (anything else counts as unseen).
    double Cost(Language language, QByteArrayView utf8) const;
    double CostOf(Language language, char32_t cp) const;

private:
    CharacterScores();

    // Fixed point, 1/64 bit: the BMP for each language; beyond it, unseen.
    std::vector<std::uint16_t> m_costs[LanguageCount];
    std::uint16_t m_unseen = 0;
};
