#include "CharacterScores.h"

#include "CharacterFrequencyData.h"
#include "Utf8Scan.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Scale = 64.0;
// How much the counts are trusted against a uniform chance over the BMP.
constexpr double Seen = 0.99;

std::uint16_t Fixed(double bits)
{
    return std::uint16_t(std::lround(std::min(bits * Scale, 65535.0)));
}

} // namespace

const CharacterScores &CharacterScores::Get()
{
    static const CharacterScores scores;
    return scores;
}

CharacterScores::CharacterScores()
{
    const double uniform = (1.0 - Seen) / 65536.0;
    m_unseen = Fixed(-std::log2(uniform));
    const CharacterFrequencyData::Table *tables[LanguageCount] = {
        &CharacterFrequencyData::SimplifiedChinese, &CharacterFrequencyData::TraditionalChinese,
        &CharacterFrequencyData::Japanese, &CharacterFrequencyData::Korean};
    for (int language = 0; language < LanguageCount; ++language) {
        const auto &table = *tables[language];
        m_costs[language].assign(0x10000, m_unseen);
        for (std::size_t i = 0; i < table.size; ++i) {
            const auto &entry = table.entries[i];
            if (entry.codePoint >= 0x10000)
                continue;
            const double p = Seen * double(entry.count) / double(table.total) + uniform;
            m_costs[language][entry.codePoint] = Fixed(-std::log2(p));
        }
    }
}

double CharacterScores::CostOf(Language language, char32_t cp) const
{
    if (cp < 0x80)
        return 0;
    return (cp < 0x10000 ? m_costs[language][cp] : m_unseen) / Scale;
}

double CharacterScores::Cost(Language language, QByteArrayView utf8) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const std::vector<std::uint16_t> &costs = m_costs[language];
    std::uint64_t total = 0;
    for (qsizetype i = 0; i < utf8.size();) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t cp = 0;
        const int length = Utf8Scan::DecodeOne(p + i, utf8.size() - i, cp);
        if (length <= 0) {
            total += m_unseen;
            ++i;
            continue;
        }
        total += cp < 0x10000 ? costs[cp] : m_unseen;
        i += length;
    }
    return double(total) / Scale;
}
