// The compiled-in style sets. Values and keyword texts are kept exactly as
// the sets were defined, cut last words and trailing blank included, and
// colours with high bits set are sent as they stand.
#include "clsScintillaBuiltinSets.h"

#include "clsScintilla.h"
#include "platform/VbBool.h"

#include <cstdint>
#include <vector>

namespace {

constexpr std::int64_t NoBack = -1;

// One style of a set; what is not given keeps the cleared value.
struct BuiltinStyle
{
    int style = 0;
    std::uint32_t fore = 0;
    std::int64_t back = NoBack;
    const char *font = nullptr;
    int size = 0; // 0: not set
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

struct KeywordList
{
    int list;
    const char *text;
};

// 0xFFFF8080 and friends are 32-bit patterns: sent sign-extended, read back
// the same by the component.
long Colour(std::uint32_t value)
{
    return long(std::int32_t(value));
}

void Apply(clsScintilla &sci, const std::vector<BuiltinStyle> &styles, std::initializer_list<KeywordList> lists,
           long lexer)
{
    for (const BuiltinStyle &s : styles) {
        sci.SetStyleFore(s.style, Colour(s.fore));
        if (s.back != NoBack)
            sci.SetStyleBack(s.style, Colour(std::uint32_t(s.back)));
        if (s.font)
            sci.SetStyleFont(s.style, QString::fromLatin1(s.font));
        if (s.size)
            sci.SetStyleSize(s.style, s.size);
        if (s.bold)
            sci.SetStyleBold(s.style, vbTrue);
        if (s.italic)
            sci.SetStyleItalic(s.style, vbTrue);
        if (s.underline)
            sci.SetStyleUnderline(s.style, vbTrue);
    }
    for (const KeywordList &k : lists)
        sci.SetKeywords(k.list, QString::fromLatin1(k.text));
    sci.SetLexer(lexer);
}

constexpr const char *Comic = "Comic Sans MS";
constexpr const char *Courier = "Courier New";
constexpr const char *Times = "Times New Roman";
constexpr const char *Lucida = "Lucida Sans Unicode";

// 539 characters
constexpr char VbKeywords0[] =
    "and begin case call class continue do each else elseif end erase error event exit false "
    "for function get gosub goto if implement in load loop lset me mid new next not nothing "
    "on or property raiseevent rem resume return rset select set stop sub then to true "
    "unload until wend while with withevents attribute alias as boolean byref byte byval "
    "const compare currency date declare dim double enum explicit friend global integer let "
    "lib long module object option optional preserve private property public redim single "
    "static string type variant";

// 254 characters
constexpr char CppKeywords0[] =
    "asm auto bool break case catch char class const const_cast continue default delete do "
    "double dynamic_cast else enum explicit export extern false float for friend goto if "
    "inline int long mutable namespace new operator private protected public register rei";

// 254 characters
constexpr char CppKeywords2[] =
    "a addindex addtogroup anchor arg attention author b brief bug c class code date def "
    "defgroup deprecated dontinclude e em endcode endhtmlonly endif endlatexonly endlink "
    "endverbatim enum example exception f$ f[ f] file fn hideinitializer htmlinclude htmlon";

// 254 characters
constexpr char HtmlKeywords0[] =
    "a abbr acronym address applet area b base basefont bdo big blockquote body br button "
    "caption center cite code col colgroup dd del dfn dir div dl dt em fieldset font form "
    "frame frameset h1 h2 h3 h4 h5 h6 head hr html i iframe img input ins isindex kbd lab";

// 254 characters
constexpr char HtmlKeywords1[] =
    "abstract boolean break byte case catch char class const continue debugger default "
    "delete do double else enum export extends final finally float for function goto if "
    "implements import in instanceof int interface long native new package private protected "
    "p";

// 254 characters
constexpr char HtmlKeywords2[] =
    "and begin case call class continue do each else elseif end erase error event exit false "
    "for function get gosub goto if implement in load loop lset me mid new next not nothing "
    "on or property raiseevent rem resume return rset select set stop sub then to tr";

// 160 characters
constexpr char HtmlKeywords3[] =
    "and assert break class continue def del elif else except exec finally for from global "
    "if import in is lambda None not or pass print raise return try while yield";

// 254 characters
constexpr char HtmlKeywords4[] =
    "and argv as argc break case cfunction class continue declare default do die echo else "
    "elseif empty enddeclare endfor endforeach endif endswitch endwhile e_all e_parse "
    "e_error e_warning eval exit extends false for foreach function global http_cookie_vars ";

// 39 characters
constexpr char HtmlKeywords5[] =
    "ELEMENT DOCTYPE ATTLIST ENTITY NOTATION";

// 254 characters
constexpr char PascalKeywords0[] =
    "program const type var begin end array set packed record string if then else while for "
    "to downto do with repeat until case of goto exit label procedure function nil file and "
    "or not xor div mod unit uses implementation interface external asm inline object";

// 69 characters
constexpr char PascalKeywords1[] =
    "write read default public protected private property published stored";

const std::vector<BuiltinStyle> &VBStyles()
{
    static const std::vector<BuiltinStyle> styles = {
        {.style = 1, .fore = 0x007F00, .font = Comic, .size = 10, .italic = true},
        {.style = 2, .fore = 0x0000FF, .size = 10},
        {.style = 3, .fore = 0x800000, .size = 10, .bold = true},
        {.style = 4, .fore = 0x800080, .size = 10, .italic = true},
        {.style = 32, .fore = 0x000000, .back = 0xFFFFFF, .size = 10},
        {.style = 35, .fore = 0x0000FF, .bold = true},
        {.style = 34, .fore = 0x800000, .bold = true},
    };
    return styles;
}

const std::vector<BuiltinStyle> &CPPStyles()
{
    static const std::vector<BuiltinStyle> styles = {
        {.style = 0, .fore = 0x808080, .back = 0xFFFFFF},
        {.style = 1, .fore = 0x007F00, .back = 0xFFFFFF, .font = Comic, .size = 9},
        {.style = 2, .fore = 0x007F00, .back = 0xFFFFFF, .font = Comic, .size = 9},
        {.style = 3, .fore = 0x3F703F, .back = 0xFFFFFF, .font = Comic, .size = 9},
        {.style = 4, .fore = 0x7F7F00, .back = 0xFFFFFF},
        {.style = 5, .fore = 0x800000, .back = 0xFFFFFF, .bold = true},
        {.style = 6, .fore = 0x7F007F, .back = 0xFFFFFF, .italic = true},
        {.style = 7, .fore = 0x7F007F, .back = 0xE0C0E0, .italic = true, .underline = true},
        {.style = 8, .fore = 0x804080, .back = 0xFFFFFF},
        {.style = 9, .fore = 0x007F7F, .back = 0xFFFFFF},
        {.style = 10, .fore = 0x7F7F00, .back = 0xFFFFFF},
        {.style = 11, .fore = 0x20000000, .back = 0xFFFFFF},
        {.style = 12, .fore = 0x000000, .back = 0xE0C0E0, .font = Courier},
        {.style = 13, .fore = 0x007F00, .back = 0xE0FFE0, .font = Courier},
        {.style = 14, .fore = 0x3F7F3F, .back = 0xE0F0FF, .font = Courier},
        {.style = 15, .fore = 0x007F00, .back = 0xFFFFFF, .font = Comic, .size = 9},
        {.style = 16, .fore = 0xB00040, .back = 0xFFFFFF},
        {.style = 17, .fore = 0x3060A0, .back = 0xFFFFFF, .font = Comic}, // its size stays 10
        {.style = 18, .fore = 0x804020, .back = 0xFFFFFF, .font = Comic, .size = 9},
        {.style = 32, .fore = 0x000000, .back = 0xFFFFFF},
        {.style = 33, .fore = 0xBD7173, .back = 0xEFEFEF, .font = Courier, .size = 8},
        {.style = 34, .fore = 0xFF0000, .back = 0xFFFFFF, .bold = true},
        {.style = 35, .fore = 0x0000FF, .back = 0xFFFFFF, .bold = true},
        {.style = 37, .fore = 0x000000, .back = 0xFFFFFF},
    };
    return styles;
}

// Styles of one HTML block: the block's background goes to every style that
// names no other.
void AddBlock(std::vector<BuiltinStyle> &styles, std::uint32_t back, std::vector<BuiltinStyle> block)
{
    for (BuiltinStyle &s : block) {
        if (s.back == NoBack)
            s.back = back;
        styles.push_back(s);
    }
}

// A block that repeats another one style for style on its own background.
std::vector<BuiltinStyle> Shifted(std::vector<BuiltinStyle> block, int offset)
{
    for (BuiltinStyle &s : block)
        s.style += offset;
    return block;
}

std::vector<BuiltinStyle> HTMLStylesMade()
{
    std::vector<BuiltinStyle> styles;

    AddBlock(styles, 0xFFFFFF, { // HTML markup
        {.style = 0, .fore = 0x000000},
        {.style = 1, .fore = 0x800000, .font = Courier, .size = 10},
        {.style = 2, .fore = 0x0000FF, .font = Courier, .size = 10},
        {.style = 3, .fore = 0x808000, .size = 10},
        {.style = 4, .fore = 0x0000FF, .font = Courier, .size = 10},
        {.style = 5, .fore = 0x7F7F00},
        {.style = 6, .fore = 0x7F007F},
        {.style = 7, .fore = 0x7F007F},
        {.style = 8, .fore = 0x800080},
        {.style = 9, .fore = 0xFFFF8080, .font = "Verdana", .size = 9},
        {.style = 10, .fore = 0x800080, .font = Times, .size = 11},
        {.style = 11, .fore = 0x800000},
        {.style = 12, .fore = 0xFF0000},
        {.style = 13, .fore = 0xFF0000},
        {.style = 14, .fore = 0x000080},
        {.style = 15, .fore = 0x20000000, .back = 0xFFFFFFFF},
        {.style = 16, .fore = 0x20000000, .back = 0xFFFFDFFF},
        {.style = 17, .fore = 0x20000000, .back = 0xFFFFDFFF},
        {.style = 18, .fore = 0xFF0000, .back = 0xBFEFFF},
        {.style = 19, .fore = 0xFF00FF, .back = 0xFFEFFF},
        {.style = 20, .fore = 0x000000},
    });
    AddBlock(styles, 0xFFEFEF, { // SGML and DTD
        {.style = 21, .fore = 0x800000},
        {.style = 22, .fore = 0x800000, .bold = true},
        {.style = 23, .fore = 0x006600},
        {.style = 24, .fore = 0x000080},
        {.style = 25, .fore = 0x003399},
        {.style = 26, .fore = 0x000080, .back = 0x6666FF},
        {.style = 27, .fore = 0xFF6633},
        {.style = 28, .fore = 0x333333},
        {.style = 29, .fore = 0xFFFF8080},
        {.style = 30, .fore = 0x000000, .back = 0xFFFFFF},
        {.style = 31, .fore = 0x660000, .back = 0xE0CCCC},
    });
    AddBlock(styles, 0xFFFFFF, { // predefined styles
        {.style = 32, .fore = 0x000000},
        {.style = 33, .fore = 0xBD7173, .back = 0xEFEFEF, .font = Courier, .size = 8},
        {.style = 34, .fore = 0xFF0000, .font = Times, .size = 11, .bold = true},
        {.style = 35, .fore = 0x0000FF, .font = Times, .size = 11, .bold = true},
        {.style = 36, .fore = 0x000000},
        {.style = 37, .fore = 0x000000},
        {.style = 38, .fore = 0x000000},
        {.style = 39, .fore = 0x000000},
    });
    AddBlock(styles, 0xFFF0F0, { // client JavaScript
        {.style = 40, .fore = 0x007F7F, .back = 0xFFFFFF},
        {.style = 41, .fore = 0x000000, .font = Comic, .size = 9, .bold = true},
        {.style = 42, .fore = 0x007F00, .font = Comic, .size = 9},
        {.style = 43, .fore = 0x007F00, .font = Comic, .size = 9},
        {.style = 44, .fore = 0x3F703F, .font = Comic, .size = 9, .bold = true},
        {.style = 45, .fore = 0x7F7F00, .font = Comic, .size = 9},
        {.style = 46, .fore = 0x000000, .font = Comic, .size = 9},
        {.style = 47, .fore = 0x7F0000, .font = Comic, .size = 9, .bold = true},
        {.style = 48, .fore = 0x7F007F, .font = Comic, .size = 9, .bold = true},
        {.style = 49, .fore = 0x7F007F, .font = Comic, .size = 9, .bold = true},
        {.style = 50, .fore = 0x000000, .font = Comic, .size = 9, .bold = true},
        {.style = 51, .fore = 0x20000000, .back = 0xB0BBBF},
        {.style = 52, .fore = 0x20000000, .back = 0xB0BBFF},
    });
    const std::vector<BuiltinStyle> vbScript = {
        {.style = 71, .fore = 0x000000, .font = Lucida, .size = 10},
        {.style = 72, .fore = 0xFFFF8000, .font = Comic, .size = 9},
        {.style = 73, .fore = 0x808000, .font = Lucida, .size = 10},
        {.style = 74, .fore = 0x800000, .font = Lucida, .size = 10, .bold = true},
        {.style = 75, .fore = 0x800080, .font = Lucida, .size = 10},
        {.style = 76, .fore = 0x800000, .font = Lucida, .size = 10},
        {.style = 77, .fore = 0x800000, .back = 0xFF7F7F, .font = Lucida, .size = 10},
    };
    AddBlock(styles, 0xFFEFEF, vbScript); // client VBScript
    std::vector<BuiltinStyle> aspVbScript = Shifted(vbScript, 10);
    aspVbScript.back().back = 0xBF7F7F;
    AddBlock(styles, 0xCFCFEF, aspVbScript); // ASP VBScript
    const std::vector<BuiltinStyle> python = {
        {.style = 90, .fore = 0x808080, .back = 0xFFFFFF},
        {.style = 91, .fore = 0x808080},
        {.style = 92, .fore = 0x007F00, .font = Comic, .size = 9},
        {.style = 93, .fore = 0x7F7F00},
        {.style = 94, .fore = 0x7F007F, .font = Courier, .size = 10},
        {.style = 95, .fore = 0x7F007F, .font = Courier, .size = 10},
        {.style = 96, .fore = 0x7F0000, .bold = true},
        {.style = 97, .fore = 0x00007F},
        {.style = 98, .fore = 0x00007F},
        {.style = 99, .fore = 0xFF0000, .bold = true},
        {.style = 100, .fore = 0x7F7F00, .bold = true},
        {.style = 101, .fore = 0x20000000, .bold = true},
        {.style = 102, .fore = 0x20000000},
    };
    AddBlock(styles, 0xEFFFEF, python); // client Python
    std::vector<BuiltinStyle> aspPython = Shifted(python, 15);
    aspPython[115 - 105].back = 0xEFFFEF;
    AddBlock(styles, 0xCFEFCF, aspPython); // ASP Python
    AddBlock(styles, 0xF8F8FF, { // PHP
        {.style = 118, .fore = 0x330000},
        {.style = 119, .fore = 0x007F00},
        {.style = 120, .fore = 0xFFFF9F00},
        {.style = 121, .fore = 0x7F007F, .italic = true},
        {.style = 122, .fore = 0xFFFF99CC},
        {.style = 123, .fore = 0x7F0000, .italic = true},
        {.style = 124, .fore = 0x999999, .font = Comic, .size = 9},
        {.style = 125, .fore = 0x666666, .font = Comic, .size = 9},
        {.style = 126, .fore = 0x7F0000, .italic = true},
        {.style = 127, .fore = 0x000000},
    });
    return styles;
}

const std::vector<BuiltinStyle> &HTMLStyles()
{
    static const std::vector<BuiltinStyle> styles = HTMLStylesMade();
    return styles;
}

const std::vector<BuiltinStyle> &PascalStyles()
{
    static const std::vector<BuiltinStyle> styles = {
        {.style = 0, .fore = 0x000000, .back = 0xFFFFFF},
        {.style = 1, .fore = 0x007F00, .back = 0xFFFFFF, .font = Comic, .size = 9},
        {.style = 2, .fore = 0x007F00, .back = 0xFFFFFF, .font = Comic, .size = 9},
        {.style = 3, .fore = 0x7F7F7F, .back = 0xFFFFFF, .font = Comic, .size = 9},
        {.style = 4, .fore = 0x7F7F00, .back = 0xFFFFFF},
        {.style = 5, .fore = 0x7F0000, .back = 0xFFFFFF, .bold = true},
        {.style = 6, .fore = 0x7F7F00, .back = 0xFFFFFF, .italic = true},
        {.style = 7, .fore = 0x7F7F00, .back = 0xFFFFFF, .italic = true},
        {.style = 8, .fore = 0x007F7F, .back = 0xFFFFFF, .bold = true},
        {.style = 9, .fore = 0x7F7F00, .back = 0xFFFFFF},
        {.style = 10, .fore = 0x7F7F00, .back = 0xFFFFFF},
        {.style = 32, .fore = 0x000000, .back = 0xFFFFFF},
        {.style = 33, .fore = 0xBD7173, .back = 0xEFEFEF, .font = Courier, .size = 8},
        {.style = 34, .fore = 0xFF0000, .back = 0xFFFFFF, .bold = true},
        {.style = 35, .fore = 0x0000FF, .back = 0xFFFFFF, .bold = true},
        {.style = 37, .fore = 0x000000, .back = 0xFFFFFF},
    };
    return styles;
}

} // namespace

void LoadVBHighlighter(clsScintilla &sci)
{
    Apply(sci, VBStyles(), {{0, VbKeywords0}}, 8); // SCLEX_VB
}

void LoadCPPHighlighter(clsScintilla &sci)
{
    Apply(sci, CPPStyles(), {{0, CppKeywords0}, {2, CppKeywords2}}, 3); // SCLEX_CPP
}

void LoadHTMLHighlighter(clsScintilla &sci)
{
    Apply(sci, HTMLStyles(),
          {{0, HtmlKeywords0}, {1, HtmlKeywords1}, {2, HtmlKeywords2}, {3, HtmlKeywords3}, {4, HtmlKeywords4},
           {5, HtmlKeywords5}},
          4); // SCLEX_HTML
}

void LoadPascalHighlighter(clsScintilla &sci)
{
    Apply(sci, PascalStyles(), {{0, PascalKeywords0}, {1, PascalKeywords1}}, 18); // SCLEX_PASCAL
}
