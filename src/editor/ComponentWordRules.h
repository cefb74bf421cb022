#pragma once

#include <QByteArrayView>
#include <QChar>

// How the component's whole-word searches tell a word from its neighbours,
// for searches that run without a component (find in files, on worker
// threads). The component puts every character into one of three classes by
// its Unicode category: word (letters, marks, digits, "_"), punctuation
// (everything else that prints, noncharacters, and bytes that begin no UTF-8
// character) and blank (spaces, line ends, controls, format characters, and
// whatever its own character table does not know yet: its table stops at an
// older Unicode version than Qt's, which is learned once from a component).
// A match is a whole word when the class changes at both of its ends and
// neither end is blank.
class ComponentWordRules
{
public:
    enum class CharClass { Blank, Word, Punctuation };

    // Asks a component of its own, once, how far its character table goes.
    // Needs the interface thread the first time; the answer can then go to
    // any thread.
    static ComponentWordRules Learned();

    explicit ComponentWordRules(QChar::UnicodeVersion latestKnown) : m_latestKnown(latestKnown) {}

    CharClass ClassOf(char32_t c) const;

    // Whether text's bytes [start, end) are a whole word, as the component
    // judges it in a document of exactly this text. A text that is only part
    // of a document, beginning or ending at a line end of it, says so: the
    // component counts the document's own ends differently from a line end.
    bool IsWordAt(QByteArrayView text, qsizetype start, qsizetype end, bool startsDocument = true,
                  bool endsDocument = true) const;

    QChar::UnicodeVersion LatestKnown() const { return m_latestKnown; }

private:
    CharClass ClassAfter(QByteArrayView text, qsizetype position) const;
    CharClass ClassBefore(QByteArrayView text, qsizetype position) const;

    QChar::UnicodeVersion m_latestKnown;
};
