#pragma once

class EditorWindow;

// Keeps the cost of an edit or a caret move independent of its position in
// the document while no assistive technology listens.
//
// QScintilla's accessibility object counts the characters from the start of
// the document to the caret on every update, and Qt creates that object even
// when accessibility is off (on the first focus change). So while nothing
// listens, editor windows get a plain accessible widget instead; once a
// screen reader appears they get QScintilla's full one back, and the
// insert/delete reports it needs are switched on again.
class EditorAccessibility
{
public:
    static void Register(EditorWindow *editor);
    static void Unregister(EditorWindow *editor);

    // True while assistive technology listens.
    static bool Listening();
};
