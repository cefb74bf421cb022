#include "frmNewLang.h"

#include "ColourSwatch.h"
#include "DigitKeyFilter.h"
#include "LanguageName.h"
#include "highlight/HighlighterFile.h"
#include "highlight/modHighlighter.h"
#include "highlight/modIni.h"
#include "platform/ColourChooserSeam.h"
#include "platform/MessageBoxSeam.h"
#include "platform/WriteFailure.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("新建语言");
constexpr int InitialLexerItem = 3; // "CPP"
constexpr std::int32_t White = 16777215;

QPushButton *Button(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

const QStringList &frmNewLang::LexerItems()
{
    // As the list has always stored them: items 20 to 71 end in one blank,
    // which a name taken from the list keeps.
    static const QStringList items = {
        "CONTAINER", "NULL", "PYTHON", "CPP", "HTML", "XML", "PERL", "SQL", "VB", "PROPERTIES",
        "ERRORLIST", "MAKEFILE", "BATCH", "XCODE", "LATEX", "LUA", "DIFF", "CONF", "PASCAL", "AVE",
        "ADA ", "LISP ", "RUBY ", "EIFFEL ", "EIFFELKW ", "TCL ", "NNCRONTAB ", "BULLANT ", "VBSCRIPT ", "BAAN ",
        "MATLAB ", "SCRIPTOL ", "ASM ", "CPPNOCASE ", "FORTRAN ", "F1 ", "CSS ", "POV ", "LOUT ", "ESCRIPT ",
        "PS ", "NSIS ", "MMIXAL ", "CLW ", "CLWNOCASE ", "LOT ", "YAML ", "TEX ", "METAPOST ", "POWERBASIC ",
        "FORTH ", "ERLANG ", "OCTAVE ", "MSSQL ", "VERILOG ", "KIX ", "GUICLI ", "SPECMAN ", "AU ", "APDL ",
        "BASH ", "ASN ", "VHDL ", "CAML ", "BLITZBASIC ", "PUREBASIC ", "HASKELL ", "PHPSCRIPT ", "TADS ", "REBOL ",
        "SMALLTALK ", "FLAGSHIP ", "CSOUND", "FREEBASIC",
    };
    return items;
}

int frmNewLang::LexerNumber(int index)
{
    return index > 28 ? index + 2 : index;
}

frmNewLang::frmNewLang(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNewLang"));
    setWindowTitle(Caption);
    BuildControls();
    FlattenControls(this);

    cmbFont->addItems(QFontDatabase::families());
    cmbFont->setCurrentText(QStringLiteral("Courier New"));
    ColourSwatch::SetColour(picFore, 0);
    ColourSwatch::SetColour(picBack, White);
    // Selecting the first lexer names the language after it.
    connect(cmbLexer, &QComboBox::currentIndexChanged, this, &frmNewLang::cmbLexer_Click);
    cmbLexer->setCurrentIndex(InitialLexerItem);

    connect(cmdFore, &QPushButton::clicked, this, [this] { ChooseColour(picFore); });
    connect(cmdBack, &QPushButton::clicked, this, [this] { ChooseColour(picBack); });
    connect(cmdOK, &QPushButton::clicked, this, &frmNewLang::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    adjustSize();
}

void frmNewLang::BuildControls()
{
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    cmbLexer = new QComboBox(this);
    cmbLexer->setObjectName(QStringLiteral("cmbLexer"));
    cmbLexer->addItems(LexerItems());
    cmbLexer->setMaxVisibleItems(20);
    cmbFont = new QComboBox(this);
    cmbFont->setObjectName(QStringLiteral("cmbFont"));
    cmbFont->setEditable(true);
    cmbFont->setInsertPolicy(QComboBox::NoInsert);
    txtSize = new QLineEdit(QStringLiteral("10"), this);
    txtSize->setObjectName(QStringLiteral("txtSize"));
    DigitKeyFilter::Install(txtSize);

    picFore = ColourSwatch::Create(this, "picFore");
    picBack = ColourSwatch::Create(this, "picBack");
    cmdFore = Button(this, "cmdFore", QStringLiteral(".."));
    cmdBack = Button(this, "cmdBack", QStringLiteral(".."));
    cmdOK = Button(this, "cmdOK", QStringLiteral("确定(&O)"));
    cmdOK->setDefault(true);
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("取消(&C)"));

    auto colourRow = [](QFrame *swatch, QPushButton *button) {
        auto *row = new QHBoxLayout;
        row->addWidget(swatch, 1);
        row->addWidget(button);
        return row;
    };
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("语言名称:"), txtName);
    form->addRow(QStringLiteral("使用词法:"), cmbLexer);
    form->addRow(QStringLiteral("默认字体:"), cmbFont);
    form->addRow(QStringLiteral("默认字体大小:"), txtSize);
    form->addRow(QStringLiteral("默认前景色:"), colourRow(picFore, cmdFore));
    form->addRow(QStringLiteral("默认背景色:"), colourRow(picBack, cmdBack));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    setMinimumWidth(340);
}

// A typed name stays; an empty box takes the lexer's item, blank and all.
void frmNewLang::cmbLexer_Click()
{
    if (txtName->text().isEmpty())
        txtName->setText(cmbLexer->currentText());
}

void frmNewLang::ChooseColour(QFrame *swatch)
{
    if (const auto colour = ColourChooserSeam::Current().ChooseColour(this, ColourSwatch::Colour(swatch)))
        ColourSwatch::SetColour(swatch, *colour);
}

void frmNewLang::cmdOK_Click()
{
    const QString name = LanguageName::Cleaned(txtName->text());
    if (const QString problem = LanguageName::Problem(name, strDir); !problem.isEmpty()) {
        MsgBox(this, problem, Caption, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    const QString path = LanguageName::FilePath(name, strDir);
    if (QFile::exists(path)
        && MsgBox(this,
                  QStringLiteral("语言文件“%1”已存在。\n要替换其中的语言名称、词法和默认样式吗？").arg(path),
                  Caption, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Question)
               != QMessageBox::Yes)
        return;
    if (!WriteLanguageFile(name, path))
        return;
    LoadHighlighter(path);
    emit LanguageAdded(path);
    accept();
}

// The three keys in their order. A file this dialog made is removed again
// when a later key cannot be written, so no half-made language is left.
bool frmNewLang::WriteLanguageFile(const QString &strName, const QString &strPath)
{
    const bool existed = QFile::exists(strPath);
    const QString style32 = QStringLiteral(":::V:C:::") + cmbFont->currentText() + QLatin1Char(':')
                            + txtSize->text() + QLatin1Char(':') + QString::number(ColourSwatch::Colour(picFore))
                            + QLatin1Char(':') + QString::number(ColourSwatch::Colour(picBack))
                            + QStringLiteral("::");
    const std::pair<QString, QString> keys[] = {
        {QStringLiteral("LangName"), strName},
        {QStringLiteral("Language"), QString::number(LexerNumber(cmbLexer->currentIndex()))},
        {QStringLiteral("Style[32]"), style32},
    };
    for (const auto &[key, value] : keys) {
        const IniWriteResult result = WriteIniValue(HighlighterFile::Section, key, value, strPath);
        if (!result) {
            if (!existed)
                QFile::remove(strPath);
            MsgBox(this, WriteFailureMessage(WrittenFile::LanguageFile, {result.failure}), Caption,
                   QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
            return false;
        }
    }
    return true;
}
