#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;

// "新建语言": makes a new language file from a name, a lexer and the default
// font, size and colours, loads it into the highlighter table and tells the
// settings dialog to list it.
class frmNewLang : public QDialog
{
    Q_OBJECT

public:
    explicit frmNewLang(QWidget *parent = nullptr);

    // The folder new languages are written to (the user's); set by the
    // caller before the dialog shows.
    QString strDir;
    // Every folder languages are read from, earliest first: a language of
    // the same name in any of them is replaced only when the user agrees,
    // in a copy of its file in strDir.
    QStringList strLookup;

    // The lexer list: item i stands for lexer number LexerNumber(i).
    static const QStringList &LexerItems();
    // The list skips the numbers 29 and 30.
    static int LexerNumber(int index);

signals:
    // The new file was written and loaded into the table.
    void LanguageAdded(const QString &strPath);

private:
    void BuildControls();
    void cmbLexer_Click();
    void ChooseColour(QFrame *swatch);
    void cmdOK_Click();
    bool WriteLanguageFile(const QString &strName, const QString &strPath, bool existed);
    QString ExistingFile(const QString &strPath) const;

    QLineEdit *txtName = nullptr;
    QComboBox *cmbLexer = nullptr;
    QComboBox *cmbFont = nullptr;
    QLineEdit *txtSize = nullptr;
    QFrame *picFore = nullptr;
    QFrame *picBack = nullptr;
    QPushButton *cmdFore = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};
