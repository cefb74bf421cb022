#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The look of one style number, gathered from the arrays of a Highlighter.
// Flags are 1 (set) or 0 (clear); colours are 0x00BBGGRR.
struct StyleSpec
{
    std::int32_t Bold = 0;
    std::int32_t Italic = 0;
    std::int32_t Underline = 0;
    std::int32_t Visible = 0;
    std::int32_t EolFilled = 0;
    std::int32_t Fore = 0;
    std::int32_t Back = 0;
    std::int32_t Size = 0;
    QString Font;
    QString Description;

    bool operator==(const StyleSpec &) const = default;
};

// A language's colours for a dark desktop: the foreground and background of
// every style, read from its file in the folder "dark" (DarkColourFile).
struct DarkColourSet
{
    std::array<std::int32_t, 128> Fore{};
    std::array<std::int32_t, 128> Back{};
    QString FilePath; // the file it was read from, or written to

    bool operator==(const DarkColourSet &) const = default;
};

// One language definition as read from its CHL file. A fresh record has
// every number 0 and every string empty.
struct Highlighter
{
    static constexpr int StyleCount = 128;
    static constexpr int KeywordListCount = 8;
    static constexpr int DefaultStyle = 32; // STYLE_DEFAULT, the fall-back of every style

    template <typename T>
    using PerStyle = std::array<T, StyleCount>;

    PerStyle<std::int32_t> Bold{};
    PerStyle<std::int32_t> Italic{};
    PerStyle<std::int32_t> Underline{};
    PerStyle<std::int32_t> Visible{};
    PerStyle<std::int32_t> EolFilled{};
    PerStyle<std::int32_t> Fore{};
    PerStyle<std::int32_t> Back{};
    PerStyle<std::int32_t> Size{};
    PerStyle<QString> Font;
    PerStyle<QString> Description;
    std::array<QString, KeywordListCount> Keywords;
    QString Filter;        // with its trailing "|"
    QString SingleComment;
    QString LangName;
    std::int32_t Lexer = 0; // SCLEX_* number, key "Language"
    QString FilePath;       // the CHL file the entry was read from
    // The dark colours, when a dark file belongs to the language.
    std::optional<DarkColourSet> Dark;

    bool operator==(const Highlighter &) const = default;

    StyleSpec Style(int n) const
    {
        return {Bold[n], Italic[n], Underline[n], Visible[n], EolFilled[n],
                Fore[n], Back[n], Size[n], Font[n], Description[n]};
    }

    void SetStyle(int n, const StyleSpec &look)
    {
        Bold[n] = look.Bold;
        Italic[n] = look.Italic;
        Underline[n] = look.Underline;
        Visible[n] = look.Visible;
        EolFilled[n] = look.EolFilled;
        Fore[n] = look.Fore;
        Back[n] = look.Back;
        Size[n] = look.Size;
        Font[n] = look.Font;
        Description[n] = look.Description;
    }
};
