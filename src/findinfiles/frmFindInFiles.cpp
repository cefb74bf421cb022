#include "frmFindInFiles.h"

#include "TextMatcher.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogSettings.h"
#include "platform/FolderDialogSeam.h"
#include "platform/MessageBoxSeam.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("FindInFiles");
const DialogPlacement Placement(DialogSettings::App, QStringLiteral("FindInFilesLeft"), QStringLiteral("FindInFilesTop"));

QString FolderKey(int i)
{
    return QStringLiteral("Folder%1").arg(i);
}

QComboBox *NewEditableBox(QWidget *parent, const QString &name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(360);
    return box;
}

} // namespace

frmFindInFiles::frmFindInFiles(QWidget *owner)
    : QDialog(owner, DialogSettings::FixedDialog)
{
    setObjectName(QStringLiteral("frmFindInFiles"));
    setWindowTitle(QStringLiteral("在文件中查找"));

    lblText = new QLabel(QStringLiteral("查找内容(&N):"), this);
    cmbText = NewEditableBox(this, QStringLiteral("cmbText"));
    lblFolder = new QLabel(QStringLiteral("文件夹(&I):"), this);
    cmbFolder = NewEditableBox(this, QStringLiteral("cmbFolder"));
    cmdBrowse = new QPushButton(QStringLiteral("浏览(&B)..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    lblPatterns = new QLabel(QStringLiteral("文件类型(&T):"), this);
    cmbPatterns = NewEditableBox(this, QStringLiteral("cmbPatterns"));
    lblReplace = new QLabel(QStringLiteral("替换为(&P):"), this);
    cmbReplace = NewEditableBox(this, QStringLiteral("cmbReplace"));
    lblReplace->setBuddy(cmbReplace);
    chkCase = new QCheckBox(QStringLiteral("区分大小写(&S)"), this);
    chkCase->setObjectName(QStringLiteral("chkCase"));
    chkWhole = new QCheckBox(QStringLiteral("全字匹配(&O)"), this);
    chkWhole->setObjectName(QStringLiteral("chkWhole"));
    chkRegExp = new QCheckBox(QStringLiteral("正规表达式(&R)"), this);
    chkRegExp->setObjectName(QStringLiteral("chkRegExp"));
    chkSubfolders = new QCheckBox(QStringLiteral("包括子文件夹(&U)"), this);
    chkSubfolders->setObjectName(QStringLiteral("chkSubfolders"));
    cmdFind = new QPushButton(QStringLiteral("查找(&F)"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdReplace = new QPushButton(QStringLiteral("替换(&R)..."), this);
    cmdReplace->setObjectName(QStringLiteral("cmdReplace"));
    cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    lblText->setBuddy(cmbText);
    lblFolder->setBuddy(cmbFolder);
    lblPatterns->setBuddy(cmbPatterns);

    auto *fields = new QGridLayout;
    fields->addWidget(lblText, 0, 0);
    fields->addWidget(cmbText, 0, 1, 1, 2);
    fields->addWidget(lblReplace, 1, 0);
    fields->addWidget(cmbReplace, 1, 1, 1, 2);
    fields->addWidget(lblFolder, 2, 0);
    fields->addWidget(cmbFolder, 2, 1);
    fields->addWidget(cmdBrowse, 2, 2);
    fields->addWidget(lblPatterns, 3, 0);
    fields->addWidget(cmbPatterns, 3, 1, 1, 2);
    auto *checks = new QGridLayout;
    checks->addWidget(chkCase, 0, 0);
    checks->addWidget(chkWhole, 1, 0);
    checks->addWidget(chkRegExp, 0, 1);
    checks->addWidget(chkSubfolders, 1, 1);
    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(checks);
    left->addStretch();
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdFind);
    buttons->addWidget(cmdReplace);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    auto *form = new QHBoxLayout(this);
    form->addLayout(left, 1);
    form->addSpacing(8);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
    cmdFind->setDefault(true);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmFindInFiles::cmdBrowse_Click);
    connect(cmdFind, &QPushButton::clicked, this, [this] { Confirm(false); });
    connect(cmdReplace, &QPushButton::clicked, this, [this] { Confirm(true); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    cmbFolder->addItems(RecentFolders());
    adjustSize();
    Placement.Restore(this);
    DialogSettings::LoadCheck(chkCase, QStringLiteral("FifCase"), false);
    DialogSettings::LoadCheck(chkWhole, QStringLiteral("FifWhole"), false);
    DialogSettings::LoadCheck(chkRegExp, QStringLiteral("FifRegEx"), false);
    DialogSettings::LoadCheck(chkSubfolders, QStringLiteral("FifSubfolders"), true);
    cmbText->setFocus();
}

frmFindInFiles::~frmFindInFiles()
{
    Placement.Save(this);
    DialogSettings::SaveCheck(chkCase, QStringLiteral("FifCase"));
    DialogSettings::SaveCheck(chkWhole, QStringLiteral("FifWhole"));
    DialogSettings::SaveCheck(chkRegExp, QStringLiteral("FifRegEx"));
    DialogSettings::SaveCheck(chkSubfolders, QStringLiteral("FifSubfolders"));
}

void frmFindInFiles::Prepare(const QString &text, const QString &folder, const QString &patterns)
{
    cmbText->setEditText(text);
    cmbText->lineEdit()->selectAll();
    if (!folder.isEmpty())
        cmbFolder->setEditText(QDir::toNativeSeparators(folder));
    cmbPatterns->setEditText(patterns.isEmpty() ? QStringLiteral("*") : patterns);
}

FindInFilesRequest frmFindInFiles::Request() const
{
    FindInFilesRequest request;
    request.query.text = cmbText->currentText();
    request.query.matchCase = chkCase->isChecked();
    request.query.wholeWord = chkWhole->isChecked();
    request.query.regularExpression = chkRegExp->isChecked();
    request.folder = QDir::fromNativeSeparators(cmbFolder->currentText().trimmed());
    request.patterns = cmbPatterns->currentText().trimmed();
    request.subfolders = chkSubfolders->isChecked();
    request.replace = m_replace;
    request.replacement = cmbReplace->currentText();
    return request;
}

QStringList frmFindInFiles::RecentFolders()
{
    QStringList folders;
    for (int i = 0; i < RememberedFolders; ++i) {
        const QString folder = SettingsStore::GetSetting(DialogSettings::App, Section, FolderKey(i));
        if (!folder.isEmpty() && !folders.contains(folder))
            folders << folder;
    }
    return folders;
}

void frmFindInFiles::RememberFolder(const QString &folder)
{
    QStringList folders = RecentFolders();
    folders.removeAll(folder);
    folders.prepend(folder);
    for (int i = 0; i < RememberedFolders; ++i)
        SettingsStore::SaveSetting(DialogSettings::App, Section, FolderKey(i), folders.value(i));
}

void frmFindInFiles::cmdBrowse_Click()
{
    const QString chosen = FolderDialogSeam::Current().GetExistingDirectory(this, QStringLiteral("选择文件夹"),
                                                                            Request().folder);
    if (!chosen.isEmpty())
        cmbFolder->setEditText(QDir::toNativeSeparators(chosen));
}

QString frmFindInFiles::Problem() const
{
    const FindInFilesRequest request = Request();
    QString why;
    if (!TextMatcher::Make(request.query, ComponentWordRules(QChar::currentUnicodeVersion()), &why))
        return why;
    if (request.folder.isEmpty())
        return QStringLiteral("请选择要搜索的文件夹。");
    if (!QFileInfo(request.folder).isDir())
        return QStringLiteral("文件夹“%1”不存在。").arg(QDir::toNativeSeparators(request.folder));
    return {};
}

void frmFindInFiles::Confirm(bool replace)
{
    m_replace = replace;
    if (const QString problem = Problem(); !problem.isEmpty()) {
        MsgBox(this, problem, windowTitle(), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    RememberFolder(QFileInfo(Request().folder).absoluteFilePath());
    accept();
}
