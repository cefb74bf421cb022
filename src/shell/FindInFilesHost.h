#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class FindResultsDock;
class FolderSearch;
class clsScintilla;
class frmDoc;
class frmMain;
struct FileHits;
struct FindInFilesRequest;
struct LineHit;

// Find in files in the main window: asks with the dialog, runs the search
// over the folder with the open documents' texts in place of their files,
// shows the hits in the dock at the bottom and opens (or activates) the
// document of a chosen hit with the match selected.
class FindInFilesHost : public QObject
{
    Q_OBJECT

public:
    explicit FindInFilesHost(frmMain *main);
    ~FindInFilesHost() override;

    // 搜索 → 在文件中查找: the dialog, then the search.
    void Ask();
    // Searches at once, without the dialog.
    void Start(const FindInFilesRequest &request);
    void Stop();
    // F4 / Shift+F4.
    void NextHit();
    void PreviousHit();
    // Opens the hit's file, or activates the document that has it, and
    // selects the match. False when the file could not be opened.
    bool ShowHit(const FileHits &file, const LineHit &hit);

    // The preview's 替换选中项: asks once, then replaces every chosen hit,
    // in the editor of an open document (one undo step) or in the file
    // through the save path; names every file it could not change.
    void ReplaceChosen();

    FindResultsDock *Dock() const { return m_dock; }
    FolderSearch *Search() const { return m_search.get(); }

private:
    void OnFinished();
    frmDoc *DocumentFor(const QString &path) const;
    // False with the reason when the document's text no longer holds a hit.
    static bool ReplaceInEditor(clsScintilla &sci, const QList<LineHit> &hits, const QString &replacement, QString &why);

    frmMain *m_main;
    FindResultsDock *m_dock;
    std::unique_ptr<FolderSearch> m_search;
};
