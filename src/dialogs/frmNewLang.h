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

    // The highlighters directory; set by the caller before the dialog shows.
    QString strDir;

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
    bool WriteLanguageFile(const QString &strName, const QString &strPath);

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
