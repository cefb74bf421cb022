#include "EncodingCatalogue.h"

#include <iterator>

namespace EncodingCatalogue {

namespace {

// The converters of Debian's ICU-backed Qt that have a standard (IANA, MIME
// or Windows) name, less aliases of one table, the UTF-16/UTF-32 forms
// that look for a mark themselves (the marks are handled here) and SCSU,
// whose compressor writes the same text differently when it comes in other
// pieces, so that no file of it could be saved back byte for byte, and the
// ISCII code pages, whose converter does not give text that switches between
// Indian scripts back as the same bytes.
constexpr const char *Unicode = "Unicode";
constexpr const char *Chinese = "中文";
constexpr const char *Japanese = "日本語";
constexpr const char *Korean = "한국어";
constexpr const char *Western = "西欧";
constexpr const char *Other = "其他";

const Charset Charsets[] = {
    // The named codecs, in TextEncoding::Codec's order.
    {"原始字节", "", nullptr, nullptr, Form::Raw},
    {"UTF-8", "UTF-8", Unicode, nullptr, Form::Utf8},
    {"UTF-16 LE", "UTF-16LE", Unicode, nullptr, Form::Utf16LE},
    {"UTF-16 BE", "UTF-16BE", Unicode, nullptr, Form::Utf16BE},
    {"UTF-32 LE", "UTF-32LE", Unicode, nullptr, Form::Utf32LE},
    {"UTF-32 BE", "UTF-32BE", Unicode, nullptr, Form::Utf32BE},
    {"GB18030", "GB18030", Chinese, nullptr, Form::MultiByte},
    {"Big5", "Big5", Chinese, nullptr, Form::MultiByte},
    {"Shift_JIS", "Shift_JIS", Japanese, nullptr, Form::MultiByte},
    {"EUC-JP", "EUC-JP", Japanese, nullptr, Form::MultiByte},
    {"EUC-KR", "EUC-KR", Korean, nullptr, Form::MultiByte},
    {"Windows-1252", "windows-1252", Western, nullptr, Form::SingleByte},

    {"UTF-7", "UTF-7", Unicode, nullptr, Form::Stream},
    {"CESU-8", "CESU-8", Unicode, nullptr, Form::Stream},
    {"BOCU-1", "BOCU-1", Unicode, nullptr, Form::Stream},

    {"GBK", "GBK", Chinese, nullptr, Form::MultiByte},
    {"GB2312", "GB2312", Chinese, nullptr, Form::MultiByte},
    {"HZ-GB-2312", "HZ-GB-2312", Chinese, nullptr, Form::Stream},
    {"ISO-2022-CN", "ISO-2022-CN", Chinese, nullptr, Form::Stream},
    {"ISO-2022-CN-EXT", "ISO-2022-CN-EXT", Chinese, nullptr, Form::Stream},
    {"Big5-HKSCS", "Big5-HKSCS", Chinese, nullptr, Form::MultiByte},

    {"ISO-2022-JP", "ISO-2022-JP", Japanese, nullptr, Form::Stream},
    {"ISO-2022-JP-1", "ISO-2022-JP-1", Japanese, nullptr, Form::Stream},
    {"ISO-2022-JP-2", "ISO-2022-JP-2", Japanese, nullptr, Form::Stream},

    {"UHC (CP949)", "windows-949", Korean, nullptr, Form::MultiByte},
    {"ISO-2022-KR", "ISO-2022-KR", Korean, nullptr, Form::Stream},

    {"ISO-8859-1", "ISO-8859-1", Western, nullptr, Form::SingleByte},
    {"ISO-8859-15", "ISO-8859-15", Western, nullptr, Form::SingleByte},
    {"ISO-8859-14", "ISO-8859-14", Western, nullptr, Form::SingleByte},
    {"ISO-8859-3", "ISO-8859-3", Western, nullptr, Form::SingleByte},
    {"ISO-8859-10", "ISO-8859-10", Western, nullptr, Form::SingleByte},
    {"Mac Roman", "macintosh", Western, nullptr, Form::SingleByte},
    {"IBM437", "IBM437", Western, nullptr, Form::SingleByte},
    {"IBM850", "IBM850", Western, nullptr, Form::SingleByte},
    {"IBM858", "IBM00858", Western, nullptr, Form::SingleByte},
    {"IBM860", "IBM860", Western, nullptr, Form::SingleByte},
    {"IBM861", "IBM861", Western, nullptr, Form::SingleByte},
    {"IBM863", "IBM863", Western, nullptr, Form::SingleByte},
    {"IBM865", "IBM865", Western, nullptr, Form::SingleByte},
    {"HP Roman-8", "hp-roman8", Western, nullptr, Form::SingleByte},
    {"Adobe Standard", "Adobe-Standard-Encoding", Western, nullptr, Form::SingleByte},
    {"US-ASCII", "US-ASCII", Western, nullptr, Form::SingleByte},

    {"Windows-1250", "windows-1250", Other, "中欧", Form::SingleByte},
    {"ISO-8859-2", "ISO-8859-2", Other, "中欧", Form::SingleByte},
    {"IBM852", "IBM852", Other, "中欧", Form::SingleByte},
    {"Mac Central European", "x-mac-centraleurroman", Other, "中欧", Form::SingleByte},

    {"Windows-1251", "windows-1251", Other, "西里尔文", Form::SingleByte},
    {"ISO-8859-5", "ISO-8859-5", Other, "西里尔文", Form::SingleByte},
    {"KOI8-R", "KOI8-R", Other, "西里尔文", Form::SingleByte},
    {"KOI8-U", "KOI8-U", Other, "西里尔文", Form::SingleByte},
    {"IBM866", "IBM866", Other, "西里尔文", Form::SingleByte},
    {"IBM855", "IBM855", Other, "西里尔文", Form::SingleByte},
    {"Mac Cyrillic", "x-mac-cyrillic", Other, "西里尔文", Form::SingleByte},

    {"Windows-1253", "windows-1253", Other, "希腊文", Form::SingleByte},
    {"ISO-8859-7", "ISO-8859-7", Other, "希腊文", Form::SingleByte},
    {"IBM737", "windows-737", Other, "希腊文", Form::SingleByte},
    {"IBM869", "IBM869", Other, "希腊文", Form::SingleByte},
    {"IBM851", "IBM851", Other, "希腊文", Form::SingleByte},
    {"Mac Greek", "x-mac-greek", Other, "希腊文", Form::SingleByte},

    {"Windows-1254", "windows-1254", Other, "土耳其文", Form::SingleByte},
    {"ISO-8859-9", "ISO-8859-9", Other, "土耳其文", Form::SingleByte},
    {"IBM857", "IBM857", Other, "土耳其文", Form::SingleByte},
    {"Mac Turkish", "x-mac-turkish", Other, "土耳其文", Form::SingleByte},

    {"Windows-1257", "windows-1257", Other, "波罗的文", Form::SingleByte},
    {"ISO-8859-4", "ISO-8859-4", Other, "波罗的文", Form::SingleByte},
    {"ISO-8859-13", "ISO-8859-13", Other, "波罗的文", Form::SingleByte},
    {"IBM775", "IBM775", Other, "波罗的文", Form::SingleByte},

    {"Windows-1255", "windows-1255", Other, "希伯来文", Form::SingleByte},
    {"ISO-8859-8", "ISO-8859-8", Other, "希伯来文", Form::SingleByte},
    {"IBM862", "IBM862", Other, "希伯来文", Form::SingleByte},

    {"Windows-1256", "windows-1256", Other, "阿拉伯文", Form::SingleByte},
    {"ISO-8859-6", "ISO-8859-6", Other, "阿拉伯文", Form::SingleByte},
    {"IBM864", "IBM864", Other, "阿拉伯文", Form::SingleByte},
    {"IBM720", "windows-720", Other, "阿拉伯文", Form::SingleByte},
    {"IBM868", "IBM868", Other, "阿拉伯文", Form::SingleByte},

    {"Windows-874", "windows-874", Other, "泰文", Form::SingleByte},
    {"TIS-620", "TIS-620", Other, "泰文", Form::SingleByte},
    {"ISO-8859-11", "ISO-8859-11", Other, "泰文", Form::SingleByte},

    {"Windows-1258", "windows-1258", Other, "越南文", Form::SingleByte},

    {"IBM037", "IBM037", Other, "EBCDIC", Form::SingleByte},
    {"IBM273", "IBM273", Other, "EBCDIC", Form::SingleByte},
    {"IBM277", "IBM277", Other, "EBCDIC", Form::SingleByte},
    {"IBM278", "IBM278", Other, "EBCDIC", Form::SingleByte},
    {"IBM280", "IBM280", Other, "EBCDIC", Form::SingleByte},
    {"IBM284", "IBM284", Other, "EBCDIC", Form::SingleByte},
    {"IBM285", "IBM285", Other, "EBCDIC", Form::SingleByte},
    {"IBM290", "IBM290", Other, "EBCDIC", Form::SingleByte},
    {"IBM297", "IBM297", Other, "EBCDIC", Form::SingleByte},
    {"IBM420", "IBM420", Other, "EBCDIC", Form::SingleByte},
    {"IBM424", "IBM424", Other, "EBCDIC", Form::SingleByte},
    {"IBM500", "IBM500", Other, "EBCDIC", Form::SingleByte},
    {"IBM838", "IBM-Thai", Other, "EBCDIC", Form::SingleByte},
    {"IBM870", "IBM870", Other, "EBCDIC", Form::SingleByte},
    {"IBM871", "IBM871", Other, "EBCDIC", Form::SingleByte},
    {"IBM918", "IBM918", Other, "EBCDIC", Form::SingleByte},
    {"IBM1026", "IBM1026", Other, "EBCDIC", Form::SingleByte},
    {"IBM1047", "IBM1047", Other, "EBCDIC", Form::SingleByte},
    {"IBM01140", "IBM01140", Other, "EBCDIC", Form::SingleByte},
    {"IBM01141", "IBM01141", Other, "EBCDIC", Form::SingleByte},
    {"IBM01142", "IBM01142", Other, "EBCDIC", Form::SingleByte},
    {"IBM01143", "IBM01143", Other, "EBCDIC", Form::SingleByte},
    {"IBM01144", "IBM01144", Other, "EBCDIC", Form::SingleByte},
    {"IBM01145", "IBM01145", Other, "EBCDIC", Form::SingleByte},
    {"IBM01146", "IBM01146", Other, "EBCDIC", Form::SingleByte},
    {"IBM01147", "IBM01147", Other, "EBCDIC", Form::SingleByte},
    {"IBM01148", "IBM01148", Other, "EBCDIC", Form::SingleByte},
    {"IBM01149", "IBM01149", Other, "EBCDIC", Form::SingleByte},
};

} // namespace

const Charset &At(int index)
{
    return Charsets[index];
}

int Count()
{
    return int(std::size(Charsets));
}

} // namespace EncodingCatalogue
