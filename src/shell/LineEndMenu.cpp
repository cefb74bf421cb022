#include "LineEndMenu.h"

#include "MainActions.h"
#include "MainMenus.h"
#include "editor/LineEnds.h"
#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "frmMain.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

QString ModeName(long mode)
{
    switch (mode) {
    case Sci::SC_EOL_CRLF:
        return QStringLiteral("CRLF");
    case Sci::SC_EOL_CR:
        return QStringLiteral("CR");
    default:
        return QStringLiteral("LF");
    }
}

} // namespace

LineEndMenu::LineEndMenu(frmMain *main, MainActions *actions, MainMenus *menus)
    : QObject(main), mnuLineEnds(new QMenu(QStringLiteral("转换行尾符(&N)"), menus->mnuEdit)), m_main(main)
{
    mnuLineEnds->setObjectName(QStringLiteral("mnuLineEnds"));
    mnuLineEnds->menuAction()->setObjectName(mnuLineEnds->objectName());
    menus->mnuEdit->addSeparator();
    menus->mnuEdit->addMenu(mnuLineEnds);
    actions->needsDocument->addAction(mnuLineEnds->menuAction());

    auto *marks = new QActionGroup(this);
    marks->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const std::pair<const char *, long> kinds[] = {{"Windows (CRLF)", Sci::SC_EOL_CRLF},
                                                   {"Unix (LF)", Sci::SC_EOL_LF},
                                                   {"Mac (CR)", Sci::SC_EOL_CR}};
    for (const auto &[caption, mode] : kinds) {
        QAction *item = mnuLineEnds->addAction(QString::fromLatin1(caption));
        item->setCheckable(true);
        item->setData(qlonglong(mode));
        marks->addAction(item);
        // A copy: clang 14 cannot capture a structured binding.
        connect(item, &QAction::triggered, this, [this, mode = mode] {
            if (clsScintilla *sci = ActiveEditor(); sci && !sci->IsLoading()) {
                Convert(*sci, mode);
                sci->SetFocus();
            }
        });
        m_items.append(item);
    }
    connect(mnuLineEnds, &QMenu::aboutToShow, this, &LineEndMenu::MarkActiveDocument);
}

clsScintilla *LineEndMenu::ActiveEditor() const
{
    frmDoc *doc = m_main->ActiveDocument();
    return doc && doc->sciMain ? doc->sciMain.get() : nullptr;
}

void LineEndMenu::MarkActiveDocument()
{
    clsScintilla *sci = ActiveEditor();
    const QString kind = sci ? KindName(*sci) : QString();
    for (QAction *item : m_items)
        item->setChecked(kind == ModeName(item->data().toLongLong()));
}

QString LineEndMenu::KindName(clsScintilla &sci)
{
    sci.CountLineEnds();
    const std::optional<LineEnds::Counts> known = sci.LineEndCounts();
    if (!known)
        return QString(); // a huge document, counted in slices: said once known
    const LineEnds::Counts &counts = *known;
    const int kinds = (counts.crlf > 0) + (counts.lf > 0) + (counts.cr > 0);
    if (kinds > 1)
        return QStringLiteral("混合");
    if (kinds == 0)
        return ModeName(sci.SendEditor(Sci::SCI_GETEOLMODE));
    return ModeName(LineEnds::MostUsedMode(counts));
}

// Only the mode for new line ends is set, not the wrapper's LineBreak: that
// would convert on every save, and so undo an undone conversion on disk.
void LineEndMenu::Convert(clsScintilla &sci, long mode)
{
    sci.SendEditor(Sci::SCI_BEGINUNDOACTION);
    sci.SendEditor(Sci::SCI_CONVERTEOLS, mode);
    sci.SendEditor(Sci::SCI_ENDUNDOACTION);
    sci.SetLineBreak(mode);
}
