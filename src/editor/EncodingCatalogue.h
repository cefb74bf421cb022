#pragma once

#include <cstddef>

// Every character set a document can be read as or written in: the name the
// program shows, the name Qt's converters know it by, where the menus list
// it, and how its bytes are converted. The first entries are the ones the
// code names (TextEncoding::Codec); their order there and here is the same.
namespace EncodingCatalogue {

enum class Form {
    Raw,        // the bytes as they are
    Utf8,
    Utf16LE,
    Utf16BE,
    Utf32LE,
    Utf32BE,
    MultiByte,  // ASCII plus characters of one or two bytes: by tables
    SingleByte, // one byte, one character: by a table
    Stream,     // anything else (escape sequences, Unicode compressions): through Qt
};

struct Charset
{
    const char *name;     // what the status bar and the menus show
    const char *qtName;   // what QStringDecoder and QStringEncoder take
    const char *group;    // the menu group
    const char *subgroup; // within the group, or nullptr
    Form form;
};

const Charset &At(int index);
int Count();

} // namespace EncodingCatalogue
