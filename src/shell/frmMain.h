#pragma once

#include <QList>
#include <QMainWindow>
#include <QRect>
#include <optional>

class QMdiArea;
class QMdiSubWindow;
class StatusBarPanels;
class frmDoc;

// The main window: a frame whose document area holds the document windows,
// with the menus, toolbar and status bar around it.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    static const QString Caption;

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up: highlighters, placement, the first document, cascade.
    void Setup();

    // The only way document windows are made.
    frmDoc *OpenDocument(const QString &name);

    // Saves a document by the Save rule: to its file when it has one. Says
    // why in a message when the save fails; true when the document was saved.
    bool SaveDoc(frmDoc *doc);

    frmDoc *ActiveDocument() const;
    QList<frmDoc *> Documents() const;
    QMdiArea *MdiArea() const { return m_mdiArea; }

    StatusBarPanels *stb = nullptr;
    // Counts every document window made in this run, files included.
    long lDocCount = 0;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void MDIForm_Load();
    void MDIForm_Unload();
    bool QueryCloseDocuments();
    void CloseDocuments();
    void OnSubWindowActivated(QMdiSubWindow *window);
    bool LoadDocumentFile(frmDoc *doc, const QString &path);
    void ReportSaveFailure(const QString &path, const QString &reason);

    QMdiArea *m_mdiArea = nullptr;
    std::optional<QRect> m_restoredFrame;
};
