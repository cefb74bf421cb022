#include "frmGoto.h"

#include "DialogPlacement.h"
#include "DialogSettings.h"
#include "DigitValidator.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "platform/RuntimeError.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

const DialogPlacement Placement(DialogSettings::App, QStringLiteral("GotoLeft"), QStringLiteral("GotoTop"));

// A conversion of a go-to box as the program always made it: a number,
// rounded to a whole one, that fits 32 bits.
long BoxNumber(const QString &text)
{
    constexpr long TypeMismatch = 13;
    const std::optional<double> number = SettingsStore::ReadNumber(text);
    if (!number)
        throw RuntimeError(TypeMismatch, QStringLiteral("DoGoto"), QStringLiteral("类型不匹配"));
    const double whole = std::nearbyint(*number);
    if (whole < std::numeric_limits<std::int32_t>::min() || whole > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(RuntimeError::Overflow, QStringLiteral("DoGoto"), QStringLiteral("溢出"));
    return long(whole);
}

QLineEdit *NewNumberBox(QWidget *parent, const QString &name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    // Short, as drawn, but wide enough for any line number.
    box->setFixedWidth(std::max(Twips::ToPixels(735), box->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12));
    DigitValidator::Install(box); // typed, pasted or from an input method
    return box;
}

} // namespace

frmGoto::frmGoto(QWidget *owner)
    : QDialog(owner, DialogSettings::FixedDialog)
{
    setObjectName(QStringLiteral("frmGoto"));
    setWindowTitle(QStringLiteral("转到"));

    lblData = {new QLabel(QStringLiteral("目的行:"), this), new QLabel(QStringLiteral("列:"), this)};
    txtLine = NewNumberBox(this, QStringLiteral("txtLine"));
    txtColumn = NewNumberBox(this, QStringLiteral("txtColumn"));
    lblCurLine = new QLabel(QStringLiteral("当前行: "), this);
    lblColumn = new QLabel(QStringLiteral("列: "), this);
    lblLineCount = new QLabel(QStringLiteral("末尾行:"), this);
    cmdGo = new QPushButton(QStringLiteral("转到(&G)"), this);
    cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    lblData[0]->setObjectName(QStringLiteral("lblData0"));
    lblData[1]->setObjectName(QStringLiteral("lblData1"));
    lblCurLine->setObjectName(QStringLiteral("lblCurLine"));
    lblColumn->setObjectName(QStringLiteral("lblColumn"));
    lblLineCount->setObjectName(QStringLiteral("lblLineCount"));
    cmdGo->setObjectName(QStringLiteral("cmdGo"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    // Line and column boxes on top, what the editor reports under them, the
    // buttons on the right.
    auto *form = new QGridLayout(this);
    form->addWidget(lblData[0], 0, 0);
    form->addWidget(txtLine, 0, 1);
    form->addWidget(lblData[1], 0, 2);
    form->addWidget(txtColumn, 0, 3);
    form->addWidget(lblCurLine, 1, 0, 1, 2);
    form->addWidget(lblColumn, 1, 2, 1, 2);
    form->addWidget(lblLineCount, 2, 0, 1, 2);
    form->addWidget(cmdGo, 0, 5);
    form->addWidget(cmdCancel, 1, 5);
    form->setColumnMinimumWidth(4, 8);
    form->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtLine, txtColumn);
    setTabOrder(txtColumn, cmdGo);
    setTabOrder(cmdGo, cmdCancel);
    cmdGo->setDefault(true);

    connect(cmdGo, &QPushButton::clicked, this, &frmGoto::cmdGo_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGoto::cmdCancel_Click);
    Form_Load();
}

frmGoto::~frmGoto()
{
    Form_Unload();
}

void frmGoto::Form_Load()
{
    iWhatToDo = 0;
    FlattenControls(this);
    adjustSize();
    Placement.Restore(this);
    txtLine->setFocus();
}

void frmGoto::Form_Unload()
{
    Placement.Save(this);
}

// Both buttons only hide the dialog; DoGoto reads it and unloads it. Esc and
// the close box leave iWhatToDo at 0, like Cancel.
void frmGoto::cmdGo_Click()
{
    iWhatToDo = 1;
    accept();
}

void frmGoto::cmdCancel_Click()
{
    iWhatToDo = 0;
    reject();
}

std::optional<long> DoGoto(clsScintilla &sci)
{
    auto dialog = std::make_unique<frmGoto>(sci.OwnerForm());
    dialog->lblCurLine->setText(QStringLiteral("当前行: ") + QString::number(sci.GetCurLine()));
    dialog->lblLineCount->setText(QStringLiteral("末尾行: ") + QString::number(sci.GetLastLine()));
    dialog->lblColumn->setText(QStringLiteral("列: ") + QString::number(sci.GetColumn()));
    dialog->exec();
    std::optional<long> goneTo;
    if (dialog->iWhatToDo == 1) {
        if (dialog->txtLine->text().isEmpty())
            dialog->txtLine->setText(QStringLiteral("1"));
        if (dialog->txtColumn->text().isEmpty())
            dialog->txtColumn->setText(QStringLiteral("1"));
        const long line = BoxNumber(dialog->txtLine->text());
        const long column = BoxNumber(dialog->txtColumn->text());
        sci.GotoLineColumn(line - 1, column - 1);
        goneTo = line;
    }
    dialog.reset();
    sci.SetFocus();
    return goneTo;
}
