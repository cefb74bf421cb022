#include "FindInFilesHost.h"

#include "editor/clsScintilla.h"
#include "findinfiles/FilePatterns.h"
#include "findinfiles/FindResultsDock.h"
#include "findinfiles/FolderSearch.h"
#include "findinfiles/SearchResultsModel.h"
#include "findinfiles/frmFindInFiles.h"
#include "frmDoc.h"
#include "frmMain.h"
#include "highlight/modHighlighter.h"

#include <QDir>
#include <Qsci/qsciscintillabase.h>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cstring>

namespace {

QString Canonical(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

// The active language's file patterns, as its filter in the file dialogs
// has them.
QString PatternsOf(const clsScintilla *sci)
{
    if (!sci || sci->lHighlighterNum < 0 || sci->lHighlighterNum >= long(HighlighterTable.size()))
        return {};
    return FilePatterns::FromDialogFilter(HighlighterTable[std::size_t(sci->lHighlighterNum)].Filter);
}

} // namespace

FindInFilesHost::FindInFilesHost(frmMain *main)
    : QObject(main), m_main(main), m_dock(new FindResultsDock(main))
{
    main->addDockWidget(Qt::BottomDockWidgetArea, m_dock);
    m_dock->hide(); // shown by the first search
    connect(m_dock, &FindResultsDock::StopRequested, this, &FindInFilesHost::Stop);
    connect(m_dock, &FindResultsDock::HitChosen, this, &FindInFilesHost::ShowHit);
}

FindInFilesHost::~FindInFilesHost() = default;

void FindInFilesHost::Ask()
{
    frmDoc *doc = m_main->ActiveDocument();
    clsScintilla *sci = doc ? doc->sciMain.get() : nullptr;
    const QString selected = sci ? sci->SelText() : QString();
    QString folder = doc && !doc->strFile.isEmpty() ? QFileInfo(doc->strFile).absolutePath() : QString();
    if (folder.isEmpty())
        folder = frmFindInFiles::RecentFolders().value(0, QDir::homePath());

    frmFindInFiles dialog(m_main);
    // A selection over several lines is no text to look for line by line.
    dialog.Prepare(selected.contains(QLatin1Char('\n')) || selected.contains(QLatin1Char('\r')) ? QString() : selected,
                   folder, PatternsOf(sci));
    if (dialog.exec() == QDialog::Accepted)
        Start(dialog.Request());
}

void FindInFilesHost::Start(const FindInFilesRequest &request)
{
    m_search.reset(); // a search still running stops first

    // The open documents as their editors hold them now, copied here on the
    // interface thread: the workers never touch an editor.
    OpenTexts texts;
    for (frmDoc *doc : m_main->Documents())
        if (doc->sciMain && !doc->strFile.isEmpty())
            texts.insert(Canonical(doc->strFile), {doc->sciMain->GetText(), doc->sciMain->Encoding()});

    m_search = std::make_unique<FolderSearch>(request, std::move(texts));
    connect(m_search.get(), &FolderSearch::Found, this, [this](const QList<FileHits> &files) {
        m_dock->Model()->Add(files);
        m_dock->ShowProgress(m_search->Result().filesSearched);
    });
    connect(m_search.get(), &FolderSearch::Finished, this, &FindInFilesHost::OnFinished);
    m_dock->SearchStarted(QDir::toNativeSeparators(request.folder));
    m_dock->show();
    m_dock->raise();
    m_search->Start();
}

void FindInFilesHost::Stop()
{
    if (m_search)
        m_search->Stop();
}

void FindInFilesHost::OnFinished()
{
    const FolderSearch::Totals &totals = m_search->Result();
    m_dock->Model()->SetProblems(totals.problems);
    QString summary = QStringLiteral("找到 %1 处，在 %2 个文件中（搜索了 %3 个文件，用时 %4 秒）")
                          .arg(m_dock->Model()->HitCount())
                          .arg(m_dock->Model()->FileCount())
                          .arg(totals.filesSearched)
                          .arg(double(totals.elapsedMs) / 1000.0, 0, 'f', 2);
    if (totals.stopped)
        summary = QStringLiteral("已停止。") + summary;
    if (!totals.problems.isEmpty())
        summary += QStringLiteral("，%1 个无法搜索").arg(totals.problems.size());
    m_dock->SearchFinished(summary);
}

void FindInFilesHost::NextHit()
{
    m_dock->Step(1);
}

void FindInFilesHost::PreviousHit()
{
    m_dock->Step(-1);
}

frmDoc *FindInFilesHost::DocumentFor(const QString &path) const
{
    const QString wanted = Canonical(path);
    for (frmDoc *doc : m_main->Documents())
        if (!doc->strFile.isEmpty() && Canonical(doc->strFile) == wanted)
            return doc;
    return nullptr;
}

bool FindInFilesHost::ShowHit(const FileHits &file, const LineHit &hit)
{
    frmDoc *doc = DocumentFor(file.path);
    if (doc) {
        for (QMdiSubWindow *window : m_main->MdiArea()->subWindowList())
            if (window->widget() == doc)
                m_main->MdiArea()->setActiveSubWindow(window);
    } else {
        doc = m_main->OpenDocument(file.path); // says why when it cannot
    }
    if (!doc || !doc->sciMain)
        return false;
    clsScintilla &sci = *doc->sciMain;
    // The text may have changed since the search: the match is selected
    // only where it still stands, otherwise its line is shown.
    const long length = sci.SendEditor(QsciScintillaBase::SCI_GETLENGTH);
    const char *text = sci.CharacterPointer();
    const bool stillThere = text && hit.end <= length
                            && std::memcmp(text + hit.start, hit.matched.constData(), size_t(hit.matched.size())) == 0;
    if (stillThere) {
        sci.SetSel(long(hit.start), long(hit.end));
    } else {
        const long lineStart = sci.SendEditor(QsciScintillaBase::SCI_POSITIONFROMLINE, long(hit.line));
        sci.SetSel(lineStart, lineStart);
    }
    sci.SetFocus();
    return true;
}
