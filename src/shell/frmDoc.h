#pragma once

#include "subclass/WindowLayer.h"

#include <QString>
#include <QWidget>
#include <memory>

class clsScintilla;
class frmMain;

// A document window: one editor filling a child window of the main window's
// document area. It guards unsaved changes when it closes.
class frmDoc : public QWidget
{
    Q_OBJECT

public:
    explicit frmDoc(frmMain *mdiParent);
    ~frmDoc() override;

    std::unique_ptr<clsScintilla> sciMain;
    // Full path of the file the document came from or was last saved to;
    // empty for a document never saved.
    QString strFile;

    win::HWND hWnd() const { return m_hWnd; }
    QSize sizeHint() const override;

    // The language of a new document; a file gets its own when it is read.
    static const QString DefaultHighlighter;
    // The least width of the line-number margin, in pixels.
    static constexpr long LineNumberMarginWidth = 50;

    // Runs once, when the main window creates the window: the editor and
    // its view settings. The language comes with what the window is for.
    void Form_Load();
    // Runs whenever the window becomes the active document window.
    void Form_Activate();

    // Asks about unsaved changes; false when the user cancels the close.
    bool QueryClose();
    // The main window has asked already: close without asking again.
    void ApproveClose() { m_closeApproved = true; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    static win::LRESULT WindowProc(win::HWND hWnd, std::int32_t iMsg, win::WPARAM wParam, win::LPARAM lParam);

    frmMain *m_mdiParent;
    win::HWND m_hWnd = 0;
    bool m_closeApproved = false;
};
