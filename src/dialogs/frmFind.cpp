#include "frmFind.h"

#include "DialogPlacement.h"
#include "DialogSettings.h"
#include "SearchBox.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>

namespace {

const DialogPlacement Placement(DialogSettings::App, QStringLiteral("FindLeft"), QStringLiteral("FindTop"));

int Ticked(const QAbstractButton *box)
{
    return VbBool(box->isChecked());
}

} // namespace

frmFind::frmFind(QWidget *owner)
    : QDialog(owner, DialogSettings::FixedDialog)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("查找"));

    lblFind = new QLabel(QStringLiteral("查找内容:"), this);
    cmbFind = NewSearchBox(this, QStringLiteral("cmbFind"), Twips::ToPixels(3615));
    chkWrap = new QCheckBox(QStringLiteral("Wrap aroun&d"), this);
    chkWhole = new QCheckBox(QStringLiteral("全字匹配(&O)"), this);
    chkCase = new QCheckBox(QStringLiteral("区分大小写(&S)"), this);
    chkRegExp = new QCheckBox(QStringLiteral("正规表达式(&R)"), this);
    frmDirection = new QGroupBox(QStringLiteral("方向"), this);
    optUp = new QRadioButton(QStringLiteral("向上(&U)"), frmDirection);
    optDown = new QRadioButton(QStringLiteral("向下(&D)"), frmDirection);
    cmdFind = new QPushButton(QStringLiteral("查找(&F)"), this);
    cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    chkWrap->setObjectName(QStringLiteral("chkWrap"));
    chkWhole->setObjectName(QStringLiteral("chkWhole"));
    chkCase->setObjectName(QStringLiteral("chkCase"));
    chkRegExp->setObjectName(QStringLiteral("chkRegExp"));
    frmDirection->setObjectName(QStringLiteral("frmDirection"));
    optUp->setObjectName(QStringLiteral("optUp"));
    optDown->setObjectName(QStringLiteral("optDown"));
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    // What to find on top, the options under it, the buttons on the right.
    auto *findRow = new QHBoxLayout;
    findRow->addWidget(lblFind);
    findRow->addWidget(cmbFind, 1);
    auto *checks = new QVBoxLayout;
    for (QCheckBox *box : {chkWrap, chkWhole, chkCase, chkRegExp})
        checks->addWidget(box);
    auto *direction = new QVBoxLayout(frmDirection);
    direction->addWidget(optUp);
    direction->addWidget(optDown);
    auto *options = new QHBoxLayout;
    options->addLayout(checks, 1);
    options->addWidget(frmDirection, 0, Qt::AlignTop);
    auto *left = new QVBoxLayout;
    left->addLayout(findRow);
    left->addLayout(options);
    left->addStretch();
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdFind);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    auto *form = new QHBoxLayout(this);
    form->addLayout(left, 1);
    form->addSpacing(8);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(cmbFind, chkWrap);
    setTabOrder(chkWrap, chkWhole);
    setTabOrder(chkWhole, chkCase);
    setTabOrder(chkCase, chkRegExp);
    setTabOrder(chkRegExp, optUp);
    setTabOrder(optUp, optDown);
    setTabOrder(optDown, cmdFind);
    setTabOrder(cmdFind, cmdCancel);
    cmdFind->setDefault(true);

    connect(cmdFind, &QPushButton::clicked, this, &frmFind::cmdFind_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

// The dialog is unloaded by DoFind; whichever button closed it, what it
// showed is remembered.
frmFind::~frmFind()
{
    Form_Unload();
}

void frmFind::Form_Load()
{
    DoWhat = 0;
    FlattenControls(this);
    adjustSize();
    Placement.Restore(this);
    DialogSettings::LoadCheck(chkCase, QStringLiteral("FchkCase"), false);
    DialogSettings::LoadCheck(chkRegExp, QStringLiteral("FchkRegEx"), false);
    DialogSettings::LoadCheck(chkWhole, QStringLiteral("FchkWhole"), false);
    DialogSettings::LoadCheck(chkWrap, QStringLiteral("FchkWrap"), true);
    const bool up = DialogSettings::LoadSwitch(QStringLiteral("FOptUp"), false);
    optUp->setChecked(up);
    optDown->setChecked(!up);
    cmbFind->setFocus();
}

void frmFind::Form_Unload()
{
    Placement.Save(this);
    DialogSettings::SaveCheck(chkCase, QStringLiteral("FchkCase"));
    DialogSettings::SaveCheck(chkRegExp, QStringLiteral("FchkRegEx"));
    DialogSettings::SaveCheck(chkWhole, QStringLiteral("FchkWhole"));
    DialogSettings::SaveCheck(chkWrap, QStringLiteral("FchkWrap"));
    DialogSettings::SaveSwitch(QStringLiteral("FOptUp"), optUp->isChecked());
}

void frmFind::cmdFind_Click()
{
    DoWhat = 1;
    accept(); // hidden: DoFind reads the fields, then unloads it
}

SearchOutcome DoFind(clsScintilla &sci)
{
    auto dialog = std::make_unique<frmFind>(sci.OwnerForm());
    const QString selected = sci.SelText();
    if (!selected.isEmpty())
        dialog->cmbFind->setEditText(selected);
    dialog->exec();
    if (dialog->DoWhat != 1)
        return SearchOutcome::NotRun;
    const bool found = sci.FindText(dialog->cmbFind->currentText(), Ticked(dialog->optUp), vbFalse,
                                    Ticked(dialog->chkWrap), Ticked(dialog->chkCase), vbFalse,
                                    Ticked(dialog->chkWhole), Ticked(dialog->chkRegExp));
    dialog.reset();
    sci.SetFocus();
    if (found)
        return SearchOutcome::Found;
    return sci.WasStopped() ? SearchOutcome::NotRun : SearchOutcome::NotFound;
}
