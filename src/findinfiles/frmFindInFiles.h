#pragma once

#include "FindInFilesRequest.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The find-in-files dialog: what to look for, in which folder and which
// files. Modal and short-lived; 查找 only closes it once the request can be
// searched (text given, folder there, expression compiles), and then the
// folder goes to the front of the remembered ones and the options are kept.
class frmFindInFiles : public QDialog
{
    Q_OBJECT

public:
    // How many folders the list remembers.
    static constexpr int RememberedFolders = 10;

    explicit frmFindInFiles(QWidget *owner = nullptr);
    ~frmFindInFiles() override;

    // What the dialog opens with: the text (the selection), the folder (the
    // active document's; the last one used when empty) and the patterns.
    void Prepare(const QString &text, const QString &folder, const QString &patterns);
    FindInFilesRequest Request() const;

    // The folders of earlier searches, the latest first.
    static QStringList RecentFolders();

    QLabel *lblText;
    QComboBox *cmbText;
    QLabel *lblFolder;
    QComboBox *cmbFolder;
    QPushButton *cmdBrowse;
    QLabel *lblPatterns;
    QComboBox *cmbPatterns;
    QLabel *lblReplace;
    QComboBox *cmbReplace;
    QCheckBox *chkCase;
    QCheckBox *chkWhole;
    QCheckBox *chkRegExp;
    QCheckBox *chkSubfolders;
    QPushButton *cmdFind;
    QPushButton *cmdReplace; // finds, then shows what would change
    QPushButton *cmdCancel;

private:
    void cmdBrowse_Click();
    void Confirm(bool replace);
    // Why the request cannot be searched, or empty.
    QString Problem() const;
    static void RememberFolder(const QString &folder);

    bool m_replace = false;
};
