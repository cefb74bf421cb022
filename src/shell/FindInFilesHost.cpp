#include "FindInFilesHost.h"

#include "editor/clsScintilla.h"
#include "findinfiles/FilePatterns.h"
#include "findinfiles/FileReplacer.h"
#include "findinfiles/FindResultsDock.h"
#include "findinfiles/FolderSearch.h"
#include "findinfiles/SearchResultsModel.h"
#include "findinfiles/frmFindInFiles.h"
#include "frmDoc.h"
#include "frmMain.h"
#include "highlight/modHighlighter.h"
#include "platform/MessageBoxSeam.h"
#include "platform/WriteFailure.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <Qsci/qsciscintillabase.h>
#include <algorithm>
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
    connect(m_dock, &FindResultsDock::ReplaceRequested, this, &FindInFilesHost::ReplaceChosen);
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
    if (request.replace)
        m_dock->Model()->SetReplacement(request.replacement);
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

bool FindInFilesHost::ReplaceInEditor(clsScintilla &sci, const QList<LineHit> &hits, const QString &replacement,
                                      QString &why)
{
    const long length = sci.SendEditor(QsciScintillaBase::SCI_GETLENGTH);
    QByteArray text(sci.CharacterPointer() ? sci.CharacterPointer() : "", length);
    // Checked on a copy first: all the hits change, or none.
    if (!FileReplacer::Splice(text, hits, replacement.toUtf8(), why))
        return false;
    QList<LineHit> lastFirst = hits;
    std::sort(lastFirst.begin(), lastFirst.end(), [](const LineHit &a, const LineHit &b) { return a.start > b.start; });
    const QByteArray bytes = replacement.toUtf8();
    sci.SendEditor(QsciScintillaBase::SCI_BEGINUNDOACTION);
    for (const LineHit &hit : lastFirst) {
        sci.SendEditor(QsciScintillaBase::SCI_SETTARGETSTART, long(hit.start));
        sci.SendEditor(QsciScintillaBase::SCI_SETTARGETEND, long(hit.end));
        sci.SendEditor(QsciScintillaBase::SCI_REPLACETARGET, long(bytes.size()), replacement);
    }
    sci.SendEditor(QsciScintillaBase::SCI_ENDUNDOACTION);
    return true;
}

void FindInFilesHost::ReplaceChosen()
{
    SearchResultsModel &model = *m_dock->Model();
    const qint64 chosen = model.ChosenCount();
    if (chosen == 0 || (m_search && m_search->IsRunning()))
        return;
    const QString question = QStringLiteral("将“%1”替换为“%2”，共 %3 处。\n已打开的文档在编辑器中替换（可撤消），其他文件直接写入磁盘。\n确定要替换吗？")
                                 .arg(m_search ? m_search->Request().query.text : QString(), model.Replacement())
                                 .arg(chosen);
    if (MsgBox(m_main, question, QStringLiteral("在文件中替换"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
               QMessageBox::Question)
        != QMessageBox::Yes)
        return;

    QList<WriteFailure> failures;
    int changedFiles = 0;
    qint64 replaced = 0;
    for (const FileHits &file : model.Files()) {
        const QList<LineHit> hits = FileReplacer::Chosen(file);
        if (hits.isEmpty())
            continue;
        QString why;
        bool done = false;
        if (frmDoc *doc = DocumentFor(file.path); doc && doc->sciMain) {
            done = ReplaceInEditor(*doc->sciMain, hits, model.Replacement(), why);
        } else {
            const FileIoResult written = FileReplacer::ReplaceInFile(file, hits, model.Replacement());
            done = written.ok();
            why = written.outcome == FileIoResult::NotFound ? QStringLiteral("文件已不存在。") : written.reason;
        }
        if (done) {
            ++changedFiles;
            replaced += hits.size();
        } else {
            failures.append({file.path, why});
        }
    }
    // What was replaced is no longer there to replace again.
    m_dock->cmdReplace->setEnabled(false);
    m_dock->ShowMessage(QStringLiteral("已替换 %1 处，在 %2 个文件中。").arg(replaced).arg(changedFiles)
                        + (failures.isEmpty() ? QString() : QStringLiteral("%1 个文件没有替换。").arg(failures.size())));
    if (!failures.isEmpty())
        MsgBox(m_main, WriteFailureMessage(WrittenFile::ReplacedFile, failures), QStringLiteral("在文件中替换"),
               QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
}
