#include "ColourSchemeMenu.h"

#include "frmMain.h"
#include "highlight/modHighlighter.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>

ColourSchemeMenu::ColourSchemeMenu(frmMain *main, QMenu *viewMenu)
    : QObject(main),
      mnuColours(new QMenu(QStringLiteral("配色(&C)"), viewMenu)),
      mnuColoursAuto(Make("mnuColoursAuto", "自动(&A)", ColourMode::Automatic)),
      mnuColoursLight(Make("mnuColoursLight", "浅色(&L)", ColourMode::Light)),
      mnuColoursDark(Make("mnuColoursDark", "深色(&D)", ColourMode::Dark)),
      m_main(main)
{
    mnuColours->setObjectName(QStringLiteral("mnuColours"));
    auto *group = new QActionGroup(this);
    for (QAction *item : {mnuColoursAuto, mnuColoursLight, mnuColoursDark}) {
        group->addAction(item);
        mnuColours->addAction(item);
    }
    viewMenu->addSeparator();
    viewMenu->addMenu(mnuColours);

    // Before the first document: it is coloured with the stored choice.
    ColourScheme::SetMode(ColourScheme::ReadSetting());
    m_darkShown = ColourScheme::DarkInUse();
    ShowChoice();
    main->installEventFilter(this);
}

QAction *ColourSchemeMenu::Make(const char *name, const char *caption, ColourMode mode)
{
    auto *action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, mode] { Choose(mode); });
    return action;
}

void ColourSchemeMenu::Choose(ColourMode mode)
{
    ColourScheme::SetMode(mode);
    ColourScheme::SaveSetting(mode);
    ShowChoice();
    Recolour();
}

void ColourSchemeMenu::ShowChoice()
{
    const ColourMode mode = ColourScheme::Mode();
    mnuColoursAuto->setChecked(mode == ColourMode::Automatic);
    mnuColoursLight->setChecked(mode == ColourMode::Light);
    mnuColoursDark->setChecked(mode == ColourMode::Dark);
}

void ColourSchemeMenu::Recolour()
{
    const bool dark = ColourScheme::DarkInUse();
    if (dark == m_darkShown)
        return;
    m_darkShown = dark;
    // Styles only: the documents' text, undo history and save point stay.
    ReapplyHighlighters(m_main->Editors());
}

// 自动 follows a desktop that changes its palette while the program runs.
bool ColourSchemeMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_main
        && (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange))
        Recolour();
    return false;
}
