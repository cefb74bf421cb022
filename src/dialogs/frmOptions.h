#pragma once

#include "DialogPlacement.h"
#include "highlight/Highlighter.h"
#include "highlight/HighlighterFolders.h"
#include "platform/WriteFailure.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;

// "语法选项": edits every language of the highlighter folders on a working
// copy of the highlighter table. Confirm writes each language that was
// changed to its file in the user's folder (copied there on its first
// change) and, where the write worked, into the table; Cancel drops the
// copy.
class frmOptions : public QDialog
{
    Q_OBJECT

public:
    explicit frmOptions(QWidget *parent = nullptr);

    // Lists the languages of the folders' files (an earlier folder's file
    // hiding a later one of the same name) and builds the working copy;
    // shows the first language's style 0.
    void ListLangs(const HighlighterFolders &folders);
    // One folder, read and written.
    void ListLangs(const QString &strDir);

protected:
    // Every way of closing passes here: the position is kept.
    void done(int result) override;

private:
    // One listed language: its record, the record as listed (to tell an
    // edited language) and the table entry it came from (-1 when its file
    // is not in the table).
    struct WorkingEntry
    {
        Highlighter record;
        Highlighter listed;
        int tableIndex = -1;
    };

    void BuildControls();
    QWidget *BuildStylesPage();
    QWidget *BuildKeywordsPage();
    void ConnectEdits();
    void FillFontList();

    Highlighter *CurrentRecord();
    // Runs an edit on the shown language and style, unless the controls are
    // being filled or no language is listed.
    void Edit(const std::function<void(Highlighter &, int)> &change);
    void SetStyleNumber(int n);
    void ShowStyle();
    void ShowKeywords(int list);

    void lstLang_Click(int row);
    void txtStyle_Change();
    void styleScroll_Change(int value);
    // The colour set shown (the dark one while dark colours are in use and
    // the language has one) is the one edited.
    void ChooseColour(QFrame *swatch, bool fore);
    void cmdAdd_Click();
    void cmdOK_Click();
    QList<WriteFailure> SaveHighlighters();
    IniWriteResult SaveHighlighter(WorkingEntry &entry);
    IniWriteResult SaveDarkColours(WorkingEntry &entry);
    WorkingEntry CopyHighlighterByPath(const QString &strPath) const;

    std::vector<WorkingEntry> WorkingCopy;
    int CurrentLang = -1;
    int CurrentStyle = 0;
    QString LangDir; // where new languages go: the user's folder
    HighlighterFolders Folders;
    bool m_filling = false;
    DialogPlacement m_placement;

    QLabel *lblLang = nullptr;
    QListWidget *lstLang = nullptr;
    QTabWidget *tbsOptions = nullptr;
    QWidget *picStyles = nullptr;
    QWidget *picKeywords = nullptr;
    QLineEdit *txtStyle = nullptr;
    QScrollBar *styleScroll = nullptr;
    QComboBox *cmbFont = nullptr;
    QLineEdit *txtSize = nullptr;
    QCheckBox *chkBold = nullptr;
    QCheckBox *chkItalic = nullptr;
    QCheckBox *chkUnderline = nullptr;
    QCheckBox *chkVisible = nullptr;
    QCheckBox *chkEOL = nullptr;
    QPushButton *cmdFore = nullptr;
    QFrame *picFore = nullptr;
    QPushButton *cmdBack = nullptr;
    QFrame *picBack = nullptr;
    QLabel *lblColourSet = nullptr; // shown while the dark colours are edited
    QLineEdit *txtStyleDesc = nullptr;
    QLineEdit *txtComment = nullptr;
    QLineEdit *txtFilter = nullptr;
    QComboBox *cmbKeyword = nullptr;
    QPlainTextEdit *txtKeyword = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

// Opens the settings dialog modally over the owner with the languages of the
// folders, and returns when it has been closed.
void ShowHighlighterSettings(const HighlighterFolders &folders, QWidget *owner);
void ShowHighlighterSettings(const QString &strDir, QWidget *owner);
