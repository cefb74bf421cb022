#include "MainActions.h"

#include "ToolbarIcons.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>

MainActions::MainActions(QObject *parent)
    : QObject(parent),
      mnuNew(Make("mnuNew", "新建文档(&N)", "Ctrl+N")),
      mnuOpen(Make("mnuOpen", "打开文件(&O)", "Ctrl+O")),
      mnuClearRecent(Make("mnuClearRecent", "清除列表(&C)")),
      mnuReload(Make("mnuReload", "重新载入(&I)")),
      mnuSave(Make("mnuSave", "保存文档(&S)", "Ctrl+S")),
      mnuSaveAs(Make("mnuSaveAs", "另存为(&A)....", "Ctrl+F12", "Ctrl+Shift+S")),
      mnuSaveAll(Make("mnuSaveAll", "全部保存(&L)")),
      mnuExportHTML(Make("mnuExportHTML", "导出为HTML(&D)")),
      mnuClose(Make("mnuClose", "关闭(&C)", "Ctrl+W", "Ctrl+F4")),
      mnuCloseAll(Make("mnuCloseAll", "全部关闭(&W)")),
      mnuPrint(Make("mnuPrint", "打印(&P)", "Ctrl+P")),
      mnuPrintPreview(Make("mnuPrintPreview", "打印预览(&V)")),
      mnuReloadQuietly(Make("mnuReloadQuietly", "自动重新载入未修改的文档(&U)")),
      mnuRestoreSession(Make("mnuRestoreSession", "启动时打开上次的文件(&T)")),
      mnuExit(Make("mnuExit", "退出(&E)", "Ctrl+Q")),
      mnuUndo(Make("mnuUndo", "撤消(&U)", "Ctrl+Z")),
      mnuRedo(Make("mnuRedo", "重做(&R)", "Ctrl+Y")),
      mnuCut(Make("mnuCut", "剪切(&T)", "Ctrl+X")),
      mnuCopy(Make("mnuCopy", "复制(&C)", "Ctrl+C")),
      mnuPaste(Make("mnuPaste", "粘贴(&P)", "Ctrl+V")),
      mnuSelAll(Make("mnuSelAll", "全选(&A)")),
      mnuSyntax(Make("mnuSyntax", "语法设置(&S)")),
      mnuTimeDate(Make("mnuTimeDate", "日期时间(&T)")),
      mnuFind(Make("mnuFind", "查找(&F)", "Ctrl+F")),
      mnuReplace(Make("mnuReplace", "替换(&R)", "Ctrl+H")),
      mnuFindNext(Make("mnuFindNext", "查找下一个(&N)", "F3")),
      mnuFindPrevious(Make("mnuFindPrevious", "查找上一个", "Ctrl+F3")),
      mnuGoto(Make("mnuGoto", "转到(&G)", "Ctrl+G")),
      mnuFindInFiles(Make("mnuFindInFiles", "在文件中查找(&I)", "Ctrl+Shift+F")),
      mnuNextHit(Make("mnuNextHit", "下一个查找结果", "F4")),
      mnuPreviousHit(Make("mnuPreviousHit", "上一个查找结果", "Shift+F4")),
      mnuHor(Make("mnuHor", "水平平铺(&H)")),
      mnuVertical(Make("mnuVertical", "垂直平铺(&V)")),
      mnuArrange(Make("mnuArrange", "排列图标(&A)")),
      mnuCascade(Make("mnuCascade", "层叠(&C)")),
      help(Make("help", "发行与帮助手册(&F)")),
      sj(Make("sj", "升级(&S)")),
      zy(Make("zy", "Ferrolan主页(&Z)")),
      mnuAbout(Make("mnuAbout", "关于(&A)")),
      tbBold(MakeButton("tbBold", "粗体", "Bold")),
      tbItalic(MakeButton("tbItalic", "斜体", "Italic")),
      tbUnderline(MakeButton("tbUnderline", "下划线", "Underline")),
      tbAlignLeft(MakeButton("tbAlignLeft", "文字居左", "Align-Left")),
      tbAlignCentre(MakeButton("tbAlignCentre", "文字居中", "Align-Centre")),
      tbAlignRight(MakeButton("tbAlignRight", "文字居右", "Align-Right")),
      needsDocument(new QActionGroup(this))
{
    // The seven commands that are on the toolbar as well: an image and a
    // short tooltip there, captions only in the menus.
    struct ToolbarLook
    {
        QAction *action;
        const char *tooltip;
        const char *icon;
    };
    for (const ToolbarLook &look : {ToolbarLook{mnuNew, "新建", "New"}, ToolbarLook{mnuOpen, "打开", "Open"},
                                    ToolbarLook{mnuSave, "保存", "Save"}, ToolbarLook{mnuPrint, "打印", "Print"},
                                    ToolbarLook{mnuCut, "剪切", "Cut"}, ToolbarLook{mnuCopy, "复制", "Copy"},
                                    ToolbarLook{mnuPaste, "粘贴", "Paste"}}) {
        look.action->setToolTip(QString::fromUtf8(look.tooltip));
        ToolbarIcons::Attach(look.action, QString::fromLatin1(look.icon));
        look.action->setIconVisibleInMenu(false);
    }

    mnuReloadQuietly->setCheckable(true);
    mnuRestoreSession->setCheckable(true);

    needsDocument->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction *action : {mnuReload, mnuSave, mnuSaveAs, mnuSaveAll, mnuExportHTML, mnuClose, mnuCloseAll, mnuPrint,
                            mnuPrintPreview, mnuUndo, mnuRedo, mnuCut, mnuCopy, mnuPaste,
                            mnuSelAll, mnuTimeDate, mnuFind, mnuReplace, mnuFindNext, mnuFindPrevious, mnuGoto,
                            mnuHor, mnuVertical, mnuArrange, mnuCascade})
        needsDocument->addAction(action);
}

// The menu shows the first key; the second is the one other programs use.
QAction *MainActions::Make(const char *name, const char *caption, const char *shortcut, const char *otherShortcut)
{
    auto *action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    QList<QKeySequence> keys;
    for (const char *key : {shortcut, otherShortcut})
        if (key)
            keys << QKeySequence(QString::fromLatin1(key));
    action->setShortcuts(keys);
    return action;
}

QAction *MainActions::MakeButton(const char *name, const char *tooltip, const char *icon)
{
    QAction *action = Make(name, tooltip);
    action->setToolTip(QString::fromUtf8(tooltip));
    ToolbarIcons::Attach(action, QString::fromLatin1(icon));
    return action;
}

void MainActions::SetDocumentOpen(bool open)
{
    needsDocument->setEnabled(open);
}
