#include "frmReplace.h"

#include "DialogPlacement.h"
#include "DialogSettings.h"
#include "SearchBox.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "platform/MessageBoxSeam.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const DialogPlacement Placement(DialogSettings::App, QStringLiteral("ReplaceLeft"), QStringLiteral("ReplaceTop"));

} // namespace

QPointer<frmReplace> frmReplace::s_instance;

frmReplace *frmReplace::Load(QWidget *owner)
{
    if (!s_instance)
        s_instance = new frmReplace(owner);
    return s_instance;
}

frmReplace::frmReplace(QWidget *owner)
    : QDialog(owner, DialogSettings::FixedDialog)
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowTitle(QStringLiteral("替换"));
    setModal(false);

    lblData = {new QLabel(QStringLiteral("查找内容:"), this), new QLabel(QStringLiteral("替换为:"), this)};
    cmbFind = NewSearchBox(this, QStringLiteral("cmbFind"), Twips::ToPixels(3975));
    cmbReplace = NewSearchBox(this, QStringLiteral("cmbReplace"), Twips::ToPixels(3975));
    chkWrap = new QCheckBox(QStringLiteral("Wrap aroun&d"), this);
    chkWhole = new QCheckBox(QStringLiteral("整字匹配(&O)"), this);
    chkCase = new QCheckBox(QStringLiteral("区分大小写(&S)"), this);
    chkRegExp = new QCheckBox(QStringLiteral("正规表达式(&E)"), this);
    cmdFindNext = new QPushButton(QStringLiteral("查找下一个(&F)"), this);
    cmdReplace = new QPushButton(QStringLiteral("替换(&R)"), this);
    cmdReplaceAll = new QPushButton(QStringLiteral("替换全部(&A)"), this);
    cmdClose = new QPushButton(QStringLiteral("关闭"), this);
    lblReplace = new QLabel(this);
    lblData[0]->setObjectName(QStringLiteral("lblData0"));
    lblData[1]->setObjectName(QStringLiteral("lblData1"));
    chkWrap->setObjectName(QStringLiteral("chkWrap"));
    chkWhole->setObjectName(QStringLiteral("chkWhole"));
    chkCase->setObjectName(QStringLiteral("chkCase"));
    chkRegExp->setObjectName(QStringLiteral("chkRegExp"));
    cmdFindNext->setObjectName(QStringLiteral("cmdFindNext"));
    cmdReplace->setObjectName(QStringLiteral("cmdReplace"));
    cmdReplaceAll->setObjectName(QStringLiteral("cmdReplaceAll"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    lblReplace->setObjectName(QStringLiteral("lblReplace"));
    // Room for a long count, so the dialog does not grow when one is shown.
    lblReplace->setMinimumWidth(lblReplace->fontMetrics().horizontalAdvance(QStringLiteral("Replaced 0000000 times")));

    // The two texts on top, the options under them, the buttons and the
    // replace-all result on the right.
    auto *texts = new QGridLayout;
    texts->addWidget(lblData[0], 0, 0);
    texts->addWidget(cmbFind, 0, 1);
    texts->addWidget(lblData[1], 1, 0);
    texts->addWidget(cmbReplace, 1, 1);
    texts->setColumnStretch(1, 1);
    auto *left = new QVBoxLayout;
    left->addLayout(texts);
    left->addSpacing(8);
    for (QCheckBox *box : {chkWrap, chkWhole, chkCase, chkRegExp})
        left->addWidget(box);
    left->addStretch();
    auto *right = new QVBoxLayout;
    for (QPushButton *button : {cmdFindNext, cmdReplace, cmdReplaceAll, cmdClose})
        right->addWidget(button);
    right->addWidget(lblReplace);
    right->addStretch();
    auto *form = new QHBoxLayout(this);
    form->addLayout(left, 1);
    form->addSpacing(8);
    form->addLayout(right);
    form->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(cmbFind, cmbReplace);
    setTabOrder(cmbReplace, chkWrap);
    setTabOrder(chkWrap, chkWhole);
    setTabOrder(chkWhole, chkCase);
    setTabOrder(chkCase, chkRegExp);
    setTabOrder(chkRegExp, cmdFindNext);
    setTabOrder(cmdFindNext, cmdReplace);
    setTabOrder(cmdReplace, cmdReplaceAll);
    setTabOrder(cmdReplaceAll, cmdClose);
    cmdFindNext->setDefault(true);

    connect(cmdFindNext, &QPushButton::clicked, this, &frmReplace::cmdFindNext_Click);
    connect(cmdReplace, &QPushButton::clicked, this, &frmReplace::cmdReplace_Click);
    connect(cmdReplaceAll, &QPushButton::clicked, this, &frmReplace::cmdReplaceAll_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject); // Esc does the same
    Form_Load();
}

// Unloaded with its owner (the program is ending): its place and options are
// still remembered.
frmReplace::~frmReplace()
{
    if (!m_unloaded)
        Form_Unload();
}

void frmReplace::Form_Load()
{
    FlattenControls(this);
    adjustSize();
    Placement.Restore(this);
    DialogSettings::LoadCheck(chkCase, QStringLiteral("RchkCase"), false);
    DialogSettings::LoadCheck(chkRegExp, QStringLiteral("RchkRegEx"), false);
    DialogSettings::LoadCheck(chkWhole, QStringLiteral("RchkWhole"), false);
    DialogSettings::LoadCheck(chkWrap, QStringLiteral("RchkWrap"), true);
}

void frmReplace::Form_Unload()
{
    m_unloaded = true;
    Placement.Save(this);
    DialogSettings::SaveCheck(chkCase, QStringLiteral("RchkCase"));
    DialogSettings::SaveCheck(chkRegExp, QStringLiteral("RchkRegEx"));
    DialogSettings::SaveCheck(chkWhole, QStringLiteral("RchkWhole"));
    DialogSettings::SaveCheck(chkWrap, QStringLiteral("RchkWrap"));
}

void frmReplace::ShowModeless()
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
    raise();
}

// Closing (the close button, Esc, the close box) unloads the dialog.
void frmReplace::done(int result)
{
    QDialog::done(result);
    if (m_unloaded)
        return;
    Form_Unload();
    if (cScintilla)
        cScintilla->SetFocus();
    deleteLater();
}

// An editor that is gone, or is still reading its file, is left alone.
bool frmReplace::EditorReady() const
{
    return cScintilla && !cScintilla->IsLoading();
}

bool frmReplace::FindNextMatch()
{
    return cScintilla->FindText(cmbFind->currentText(), vbFalse, vbFalse, VbBool(chkWrap->isChecked()),
                                VbBool(chkCase->isChecked()), vbFalse, VbBool(chkWhole->isChecked()),
                                VbBool(chkRegExp->isChecked()));
}

void frmReplace::cmdFindNext_Click()
{
    if (EditorReady())
        FindNextMatch();
}

// The match after the selection is replaced; the caret is left behind the
// inserted text, so the next search starts there. With nothing to insert the
// match is deleted and the following one selected, not yet replaced: the
// next Replace takes that one (were it searched for from the selection's
// end, every other match would be deleted).
void frmReplace::cmdReplace_Click()
{
    if (!EditorReady())
        return;
    const bool onShownMatch = m_shownIn == cScintilla && cScintilla->GetSelStart() == m_shownStart
                              && cScintilla->GetSelEnd() == m_shownEnd;
    m_shownIn = nullptr;
    if (onShownMatch)
        cScintilla->SetSel(m_shownStart, m_shownStart);
    if (!FindNextMatch())
        return;
    const QString with = cmbReplace->currentText();
    if (!with.isEmpty()) {
        cScintilla->ReplaceSel(with);
        return;
    }
    const long matchStart = cScintilla->GetSelStart();
    cScintilla->ReplaceSel(QString());
    cScintilla->SetSel(matchStart, matchStart);
    if (FindNextMatch()) {
        m_shownIn = cScintilla;
        m_shownStart = cScintilla->GetSelStart();
        m_shownEnd = cScintilla->GetSelEnd();
    }
}

void frmReplace::cmdReplaceAll_Click()
{
    if (!EditorReady())
        return;
    const QString find = cmbFind->currentText();
    const qint64 count = cScintilla->ReplaceAll(find, cmbReplace->currentText(), VbBool(chkCase->isChecked()), vbFalse,
                                                VbBool(chkWhole->isChecked()), VbBool(chkRegExp->isChecked()));
    if (cScintilla && cScintilla->WasStopped())
        return; // the user stopped it: the document is as it was, nothing to report
    if (count < 1)
        MsgBox(this, QStringLiteral("No instances of \"") + find + QStringLiteral("\" were found in document"),
               QStringLiteral("Quorvane"), QMessageBox::Ok);
    else
        lblReplace->setText(QStringLiteral("Replaced ") + QString::number(count) + QStringLiteral(" times"));
}

void DoReplace(clsScintilla &sci)
{
    frmReplace *dialog = frmReplace::Load(sci.OwnerForm());
    dialog->cScintilla = &sci;
    const QString selected = sci.SelText();
    if (!selected.isEmpty())
        dialog->cmbFind->setEditText(selected);
    dialog->ShowModeless();
}
