#include "frmOptions.h"

#include "ColourSwatch.h"
#include "DigitKeyFilter.h"
#include "frmNewLang.h"
#include "highlight/HighlighterFile.h"
#include "highlight/modHighlighter.h"
#include "highlight/modIni.h"
#include "highlight/DarkColourFile.h"
#include "highlight/ShownColours.h"
#include "platform/ColourChooserSeam.h"
#include "platform/FileKey.h"
#include "platform/MessageBoxSeam.h"
#include "platform/WriteFailure.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>
#include <map>
#include <optional>

namespace {

const QString Caption = QStringLiteral("语法选项");
constexpr int LastStyle = Highlighter::StyleCount - 1;

template <typename T>
T *Named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton *Button(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = Named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);
    return button;
}

// A number made of digits only, capped at the ceiling (a run of digits too
// long for any integer counts as big); nothing for anything else.
std::optional<qint64> Digits(const QString &text, qint64 ceiling)
{
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok && value <= ceiling ? value : ceiling;
}

// A keyword list is one line of its file.
QString OneLine(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator
            || c == QChar::LineSeparator)
            c = QLatin1Char(' ');
    return text;
}

} // namespace

frmOptions::frmOptions(QWidget *parent)
    : QDialog(parent),
      m_placement(QStringLiteral("ScintillaClass"), QStringLiteral("OptLeft"), QStringLiteral("OptTop"))
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(Caption);
    BuildControls();
    ConnectEdits();
    FlattenControls(this);
    FillFontList();
    adjustSize();
    m_placement.Restore(this);
}

void frmOptions::BuildControls()
{
    lblLang = Named(new QLabel(QStringLiteral("语言:"), this), "lblLang");
    lstLang = Named(new QListWidget(this), "lstLang");
    lstLang->setMinimumWidth(150);
    cmdAdd = Button(this, "cmdAdd", QStringLiteral("添加语言(&A)"));
    cmdOK = Button(this, "cmdOK", QStringLiteral("确认(&O)"));
    cmdOK->setDefault(true);
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("取消(&C)"));

    tbsOptions = Named(new QTabWidget(this), "tbsOptions");
    tbsOptions->addTab(BuildStylesPage(), QStringLiteral("语法"));
    tbsOptions->addTab(BuildKeywordsPage(), QStringLiteral("关键字"));

    auto *languages = new QVBoxLayout;
    languages->addWidget(lblLang);
    languages->addWidget(lstLang, 1);
    languages->addWidget(cmdAdd);

    auto *top = new QHBoxLayout;
    top->addLayout(languages);
    top->addWidget(tbsOptions, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

QWidget *frmOptions::BuildStylesPage()
{
    picStyles = Named(new QWidget, "picStyles");
    txtStyle = Named(new QLineEdit(QStringLiteral("0"), picStyles), "txtStyle");
    txtStyle->setMaximumWidth(80);
    styleScroll = Named(new QScrollBar(Qt::Vertical, picStyles), "styleScroll");
    styleScroll->setRange(0, LastStyle);
    cmbFont = Named(new QComboBox(picStyles), "cmbFont");
    cmbFont->setEditable(true);
    cmbFont->setInsertPolicy(QComboBox::NoInsert);
    cmbFont->setMinimumContentsLength(18);
    cmbFont->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    txtSize = Named(new QLineEdit(picStyles), "txtSize");
    txtSize->setMaximumWidth(80);
    DigitKeyFilter::Install(txtStyle);
    DigitKeyFilter::Install(txtSize);

    chkBold = Named(new QCheckBox(QStringLiteral("粗体(&B)"), picStyles), "chkBold");
    chkItalic = Named(new QCheckBox(QStringLiteral("斜体(&I)"), picStyles), "chkItalic");
    chkUnderline = Named(new QCheckBox(QStringLiteral("下划线(&U)"), picStyles), "chkUnderline");
    chkVisible = Named(new QCheckBox(QStringLiteral("可见(&V)"), picStyles), "chkVisible");
    chkEOL = Named(new QCheckBox(QStringLiteral("&EOL"), picStyles), "chkEOL");
    cmdFore = Button(picStyles, "cmdFore", QStringLiteral("前景色(&F)"));
    picFore = ColourSwatch::Create(picStyles, "picFore");
    cmdBack = Button(picStyles, "cmdBack", QStringLiteral("背景色(&B)"));
    picBack = ColourSwatch::Create(picStyles, "picBack");
    lblColourSet = Named(new QLabel(QStringLiteral("（深色配色）"), picStyles), "lblColourSet");
    lblColourSet->setVisible(false);
    txtStyleDesc = Named(new QLineEdit(picStyles), "txtStyleDesc");
    txtComment = Named(new QLineEdit(picStyles), "txtComment");
    txtFilter = Named(new QLineEdit(picStyles), "txtFilter");
    txtFilter->setMinimumWidth(260);

    auto *flags = new QHBoxLayout;
    for (QCheckBox *box : {chkBold, chkItalic, chkUnderline, chkVisible, chkEOL})
        flags->addWidget(box);
    flags->addStretch(1);
    auto *colours = new QHBoxLayout;
    colours->addWidget(cmdFore);
    colours->addWidget(picFore);
    colours->addSpacing(12);
    colours->addWidget(cmdBack);
    colours->addWidget(picBack);
    colours->addSpacing(12);
    colours->addWidget(lblColourSet);
    colours->addStretch(1);

    auto *grid = new QGridLayout(picStyles);
    auto label = [this](const QString &text) { return new QLabel(text, picStyles); };
    grid->addWidget(label(QStringLiteral("行样式:")), 0, 0);
    grid->addWidget(txtStyle, 0, 1);
    grid->addWidget(styleScroll, 0, 2, 3, 1);
    grid->addWidget(label(QStringLiteral("字体:")), 1, 0);
    grid->addWidget(cmbFont, 1, 1);
    grid->addWidget(label(QStringLiteral("大小 (0=默认):")), 2, 0);
    grid->addWidget(txtSize, 2, 1);
    grid->addLayout(flags, 3, 0, 1, 3);
    grid->addLayout(colours, 4, 0, 1, 3);
    grid->addWidget(label(QStringLiteral("描述样式:")), 5, 0);
    grid->addWidget(txtStyleDesc, 5, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("单行注释:")), 6, 0);
    grid->addWidget(txtComment, 6, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("过滤:")), 7, 0);
    grid->addWidget(txtFilter, 7, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(8, 1);
    return picStyles;
}

QWidget *frmOptions::BuildKeywordsPage()
{
    picKeywords = Named(new QWidget, "picKeywords");
    cmbKeyword = Named(new QComboBox(picKeywords), "cmbKeyword");
    for (int k = 0; k < Highlighter::KeywordListCount; ++k)
        cmbKeyword->addItem(QString::number(k));
    txtKeyword = Named(new QPlainTextEdit(picKeywords), "txtKeyword");

    auto *grid = new QGridLayout(picKeywords);
    grid->addWidget(new QLabel(QStringLiteral("关键字:"), picKeywords), 0, 0);
    grid->addWidget(cmbKeyword, 0, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("关键字:"), picKeywords), 1, 0, Qt::AlignTop);
    grid->addWidget(txtKeyword, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    return picKeywords;
}

void frmOptions::ConnectEdits()
{
    connect(lstLang, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling)
            lstLang_Click(row);
    });
    connect(txtStyle, &QLineEdit::textChanged, this, [this] {
        if (!m_filling)
            txtStyle_Change();
    });
    connect(styleScroll, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_filling)
            styleScroll_Change(value);
    });

    const std::pair<QCheckBox *, Highlighter::PerStyle<std::int32_t> Highlighter::*> flags[] = {
        {chkBold, &Highlighter::Bold},           {chkItalic, &Highlighter::Italic},
        {chkUnderline, &Highlighter::Underline}, {chkVisible, &Highlighter::Visible},
        {chkEOL, &Highlighter::EolFilled},
    };
    for (const auto &[box, field] : flags)
        connect(box, &QCheckBox::clicked, this,
                [this, member = field](bool on) { Edit([&](Highlighter &h, int n) { (h.*member)[n] = on ? 1 : 0; }); });

    connect(cmbFont, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { Edit([&](Highlighter &h, int n) { h.Font[n] = text; }); });
    connect(txtSize, &QLineEdit::textChanged, this, [this](const QString &text) {
        // An empty box, or a number too big for a size, leaves the size.
        const auto size = Digits(text, qint64(std::numeric_limits<std::int32_t>::max()) + 1);
        if (size && *size <= std::numeric_limits<std::int32_t>::max())
            Edit([&](Highlighter &h, int n) { h.Size[n] = std::int32_t(*size); });
    });
    connect(txtStyleDesc, &QLineEdit::textChanged, this,
            [this](const QString &text) { Edit([&](Highlighter &h, int n) { h.Description[n] = text; }); });
    connect(txtComment, &QLineEdit::textChanged, this,
            [this](const QString &text) { Edit([&](Highlighter &h, int) { h.SingleComment = text; }); });
    connect(txtFilter, &QLineEdit::textChanged, this,
            [this](const QString &text) { Edit([&](Highlighter &h, int) { h.Filter = text; }); });
    connect(cmbKeyword, &QComboBox::currentIndexChanged, this, [this](int list) {
        if (!m_filling)
            ShowKeywords(list);
    });
    connect(txtKeyword, &QPlainTextEdit::textChanged, this, [this] {
        const int list = cmbKeyword->currentIndex();
        if (list >= 0)
            Edit([&](Highlighter &h, int) { h.Keywords[list] = OneLine(txtKeyword->toPlainText()); });
    });

    connect(cmdFore, &QPushButton::clicked, this, [this] { ChooseColour(picFore, true); });
    connect(cmdBack, &QPushButton::clicked, this, [this] { ChooseColour(picBack, false); });
    connect(cmdAdd, &QPushButton::clicked, this, &frmOptions::cmdAdd_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOptions::FillFontList()
{
    const QSignalBlocker quiet(cmbFont);
    cmbFont->addItems(QFontDatabase::families());
}

void frmOptions::ListLangs(const QString &strDir)
{
    ListLangs(HighlighterFolders::Single(strDir));
}

void frmOptions::ListLangs(const HighlighterFolders &folders)
{
    // Edits not yet confirmed survive a new listing (after a language was
    // added), matched by file.
    std::map<QString, WorkingEntry> previous;
    for (WorkingEntry &entry : WorkingCopy)
        previous.emplace(FileKey(entry.record.FilePath), std::move(entry));

    m_filling = true;
    lstLang->clear();
    Folders = folders;
    LangDir = folders.user;
    WorkingCopy.clear();
    CurrentLang = -1;
    for (const QString &path : HighlighterFiles(folders.lookup)) {
        lstLang->addItem(ReadIniValue(HighlighterFile::Section, QStringLiteral("LangName"), path));
        const auto kept = previous.find(FileKey(path));
        WorkingEntry entry = kept != previous.end() ? std::move(kept->second) : CopyHighlighterByPath(path);
        entry.record.FilePath = path;
        entry.listed.FilePath = path;
        WorkingCopy.push_back(std::move(entry));
    }
    m_filling = false;

    tbsOptions->setEnabled(!WorkingCopy.empty());
    if (lstLang->count() > 0) {
        {
            const QSignalBlocker quiet(lstLang);
            lstLang->setCurrentRow(0);
        }
        lstLang_Click(0);
    }
}

// The table entry loaded from that file (the newest, should it have been
// loaded twice); a file the table does not hold is read as it is.
frmOptions::WorkingEntry frmOptions::CopyHighlighterByPath(const QString &strPath) const
{
    const QString key = FileKey(strPath);
    for (int i = HighlighterCount - 1; i >= 0; --i)
        if (!HighlighterTable[i].FilePath.isEmpty() && FileKey(HighlighterTable[i].FilePath) == key)
            return {HighlighterTable[i], HighlighterTable[i], i};
    Highlighter read = HighlighterFile::ReadFile(strPath);
    read.FilePath = strPath;
    DarkColourFile::Attach(read, Folders.lookup);
    return {read, read, -1};
}

Highlighter *frmOptions::CurrentRecord()
{
    if (CurrentLang < 0 || CurrentLang >= int(WorkingCopy.size()))
        return nullptr;
    return &WorkingCopy[size_t(CurrentLang)].record;
}

void frmOptions::Edit(const std::function<void(Highlighter &, int)> &change)
{
    if (m_filling)
        return;
    if (Highlighter *h = CurrentRecord())
        change(*h, CurrentStyle);
}

void frmOptions::lstLang_Click(int row)
{
    CurrentLang = row;
    SetStyleNumber(0);
    ShowStyle();
}

// The style box and the scroll bar show n, without running their handlers.
void frmOptions::SetStyleNumber(int n)
{
    m_filling = true;
    const QString text = QString::number(n);
    if (txtStyle->text() != text)
        txtStyle->setText(text);
    styleScroll->setValue(n);
    CurrentStyle = n;
    m_filling = false;
}

void frmOptions::txtStyle_Change()
{
    // Above 127 shows 127, an empty box shows 0; text that is no number
    // (pasted) changes nothing.
    const QString text = txtStyle->text();
    const auto n = text.isEmpty() ? std::optional<qint64>(0) : Digits(text, LastStyle);
    if (!n)
        return;
    SetStyleNumber(int(*n));
    ShowStyle();
}

void frmOptions::styleScroll_Change(int value)
{
    SetStyleNumber(value);
    ShowStyle();
}

void frmOptions::ShowStyle()
{
    const Highlighter *h = CurrentRecord();
    if (!h)
        return;
    const int n = CurrentStyle;
    m_filling = true;
    cmbFont->setCurrentText(h->Font[n]);
    const ShownColours shown = ShownColours::Of(*h);
    ColourSwatch::SetColour(picBack, shown.Back[n]);
    ColourSwatch::SetColour(picFore, shown.Fore[n]);
    lblColourSet->setVisible(shown.Dark);
    txtStyleDesc->setText(h->Description[n]);
    txtComment->setText(h->SingleComment);
    txtFilter->setText(h->Filter);
    txtSize->setText(QString::number(h->Size[n]));
    chkBold->setChecked(h->Bold[n] != 0);
    chkEOL->setChecked(h->EolFilled[n] != 0);
    chkItalic->setChecked(h->Italic[n] != 0);
    chkUnderline->setChecked(h->Underline[n] != 0);
    chkVisible->setChecked(h->Visible[n] != 0);
    cmbKeyword->setCurrentIndex(0);
    m_filling = false;
    ShowKeywords(0);
}

void frmOptions::ShowKeywords(int list)
{
    const Highlighter *h = CurrentRecord();
    if (!h || list < 0 || list >= Highlighter::KeywordListCount)
        return;
    m_filling = true;
    txtKeyword->setPlainText(h->Keywords[list]);
    m_filling = false;
}

void frmOptions::ChooseColour(QFrame *swatch, bool fore)
{
    const Highlighter *h = CurrentRecord();
    if (!h)
        return;
    const ShownColours shown = ShownColours::Of(*h);
    const auto colour = ColourChooserSeam::Current().ChooseColour(this, (fore ? shown.Fore : shown.Back)[CurrentStyle]);
    if (!colour)
        return; // cancelled: colour and swatch stay
    const bool dark = shown.Dark;
    Edit([&](Highlighter &record, int n) {
        if (dark)
            (fore ? record.Dark->Fore : record.Dark->Back)[n] = *colour;
        else
            (fore ? record.Fore : record.Back)[n] = *colour;
    });
    ColourSwatch::SetColour(swatch, *colour);
}

void frmOptions::cmdAdd_Click()
{
    frmNewLang dialog(this);
    dialog.strDir = LangDir;
    dialog.strLookup = Folders.lookup;
    connect(&dialog, &frmNewLang::LanguageAdded, this, [this] { ListLangs(Folders); });
    dialog.exec();
}

// Each changed language goes to its file in the user's folder and, once the
// file holds it, to its table entry; a language left as it was is not
// written at all. A file that cannot be written is named; its entry keeps
// what the file still holds.
QList<WriteFailure> frmOptions::SaveHighlighters()
{
    QList<WriteFailure> failures;
    for (WorkingEntry &entry : WorkingCopy) {
        if (entry.record == entry.listed)
            continue;
        if (const IniWriteResult written = SaveHighlighter(entry); !written) {
            failures.append(written.failure);
            continue;
        }
        if (entry.tableIndex >= 0 && entry.tableIndex < HighlighterCount)
            HighlighterTable[size_t(entry.tableIndex)] = entry.record;
    }
    return failures;
}

// An installed definition is copied to the user's folder before its first
// change, so the changed file keeps every line the dialog does not know.
IniWriteResult frmOptions::SaveHighlighter(WorkingEntry &entry)
{
    Highlighter light = entry.record;
    light.Dark = entry.listed.Dark;
    if (light == entry.listed)
        return SaveDarkColours(entry);
    if (const IniWriteResult copied = Folders.CopyToUser(entry.record.FilePath); !copied)
        return copied;
    Highlighter mine = entry.record;
    mine.FilePath = Folders.UserPath(entry.record.FilePath);
    const IniWriteResult written = HighlighterFile::WriteSettings(mine);
    if (!written)
        return written;
    entry.record.FilePath = mine.FilePath;
    return SaveDarkColours(entry);
}

// Dark colours changed in the dialog go to the user's own dark file (made
// from the shipped one, comments kept), beside the user's language files.
IniWriteResult frmOptions::SaveDarkColours(WorkingEntry &entry)
{
    if (entry.record.Dark == entry.listed.Dark || !entry.record.Dark)
        return {};
    const QString path = DarkColourFile::PathIn(Folders.user, entry.record.FilePath);
    const IniWriteResult written = DarkColourFile::Write(entry.record, path);
    if (written)
        entry.record.Dark->FilePath = path;
    return written;
}

void frmOptions::cmdOK_Click()
{
    const QList<WriteFailure> failures = SaveHighlighters();
    if (!failures.isEmpty())
        MsgBox(this, WriteFailureMessage(WrittenFile::LanguageFile, failures), Caption, QMessageBox::Ok,
               QMessageBox::Ok, QMessageBox::Warning);
    accept();
}

void frmOptions::done(int result)
{
    m_placement.Save(this);
    WorkingCopy.clear();
    QDialog::done(result);
}

void ShowHighlighterSettings(const HighlighterFolders &folders, QWidget *owner)
{
    frmOptions dialog(owner);
    dialog.ListLangs(folders);
    dialog.exec();
}

void ShowHighlighterSettings(const QString &strDir, QWidget *owner)
{
    ShowHighlighterSettings(HighlighterFolders::Single(strDir), owner);
}
