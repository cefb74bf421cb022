#pragma once

// How the component's searches that ignore case treat letters, found out
// once by asking a component of its own. This one folds the ASCII letters
// only: "ä" does not find "Ä", nor "k" the Kelvin sign, nor "ss" "ß", in
// its plain searches and its regular expressions alike. The byte scans of
// the editor rely on that; should a component fold more, those searches are
// left to the component.
class ComponentCaseRules
{
public:
    static bool PlainFoldsAsciiOnly();
    static bool RegexFoldsAsciiOnly();
};
