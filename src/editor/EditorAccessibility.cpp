#include "EditorAccessibility.h"

#include "EditorWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QSet>

namespace {

bool g_listening = false; // as last announced by the platform

QSet<EditorWindow *> &Editors()
{
    static QSet<EditorWindow *> editors;
    return editors;
}

QAccessibleInterface *PlainEditorInterface(const QString &className, QObject *object)
{
    if (EditorAccessibility::Listening() || className != QLatin1String("EditorWindow"))
        return nullptr; // QScintilla's own object serves a listening screen reader
    auto *editor = qobject_cast<EditorWindow *>(object);
    return editor ? new QAccessibleWidget(editor, QAccessible::EditableText) : nullptr;
}

class ActivationObserver : public QAccessible::ActivationObserver
{
public:
    void accessibilityActiveChanged(bool active) override
    {
        g_listening = active;
        for (EditorWindow *editor : Editors()) {
            // Drop the interface made for the other state; the next query
            // makes the right one.
            if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(editor))
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
            editor->ApplyModEventMask();
        }
    }
};

void InstallOnce()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&PlainEditorInterface);
    static ActivationObserver observer;
    QAccessible::installActivationObserver(&observer);
}

} // namespace

void EditorAccessibility::Register(EditorWindow *editor)
{
    InstallOnce();
    Editors().insert(editor);
}

bool EditorAccessibility::Listening()
{
    return g_listening || QAccessible::isActive();
}

void EditorAccessibility::Unregister(EditorWindow *editor)
{
    Editors().remove(editor);
}
