#include "MainToolbar.h"

#include "ToolbarIcons.h"

#include <QAction>

MainToolbar::MainToolbar(QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(QStringLiteral("tbToolBar"));
    setIconSize(QSize(16, 16));
    setMovable(false);

    struct Button
    {
        const char *key;
        const char *tooltip;
    };
    const Button buttons[] = {
        {"New", "新建"},        {"Open", "打开"},       {"Save", "保存"},         {"Print", "打印"},
        {nullptr, nullptr},     {"Cut", "剪切"},        {"Copy", "复制"},         {"Paste", "粘贴"},
        {nullptr, nullptr},     {"Bold", "粗体"},       {"Italic", "斜体"},       {"Underline", "下划线"},
        {nullptr, nullptr},     {"Align-Left", "文字居左"}, {"Align-Centre", "文字居中"}, {"Align-Right", "文字居右"},
    };
    for (const Button &button : buttons) {
        if (!button.key) {
            addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(button.key);
        QAction *action = addAction(ToolbarIcons::Icon(key), QString::fromUtf8(button.tooltip));
        action->setObjectName(key);
        action->setToolTip(QString::fromUtf8(button.tooltip));
        connect(action, &QAction::triggered, this, [this, key] { emit ButtonClicked(key); });
    }
}

QAction *MainToolbar::Button(const QString &key) const
{
    return findChild<QAction *>(key, Qt::FindDirectChildrenOnly);
}
