#include "frmMain.h"

#include "StatusBarPanels.h"
#include "WindowPlacement.h"
#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "highlight/modHighlighter.h"
#include "platform/TryStep.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

const QString frmMain::Caption = QStringLiteral("Ferrolan多文档编辑器2009 v1.0 正式版");

namespace {

// Draw the main window once, when a new document window is fully set up.
class FrozenDrawing
{
public:
    explicit FrozenDrawing(QWidget *window)
        : m_window(window), m_wasEnabled(window->updatesEnabled())
    {
        m_window->setUpdatesEnabled(false);
    }
    ~FrozenDrawing() { m_window->setUpdatesEnabled(m_wasEnabled); }

private:
    QWidget *m_window;
    bool m_wasEnabled;
};

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(Caption);
    setObjectName(QStringLiteral("frmMain"));

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setBackground(palette().brush(QPalette::Dark)); // the application-workspace colour
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::OnSubWindowActivated);

    stb = new StatusBarPanels(this);
    stb->setObjectName(QStringLiteral("stb"));
    setStatusBar(stb);

    resize(690, 479); // design client area, 10350 x 7185 twips
    MDIForm_Load();
}

frmMain::~frmMain() = default;

void frmMain::MDIForm_Load()
{
    Setup();
}

void frmMain::Setup()
{
    // The table is complete before any document asks for a highlighter.
    TryStep([&] { LoadHighlighters(QCoreApplication::applicationDirPath() + QStringLiteral("/highlighters")); });
    TryStep([&] { m_restoredFrame = WindowPlacement::Restore(this); });
    TryStep([&] { OpenDocument(QStringLiteral("新建文档")); });
    TryStep([&] { m_mdiArea->cascadeSubWindows(); });
}

frmDoc *frmMain::OpenDocument(const QString &name)
{
    FrozenDrawing frozen(this);

    auto *doc = new frmDoc(this);
    doc->setObjectName(QStringLiteral("frmDoc"));
    TryStep([&] { doc->Form_Load(); });
    ++lDocCount;

    doc->setWindowTitle(name + QLatin1Char(' ') + QString::number(lDocCount));

    QMdiSubWindow *window = m_mdiArea->addSubWindow(doc);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(window->sizeHint());
    window->show();
    m_mdiArea->setActiveSubWindow(window);
    if (doc->sciMain)
        doc->sciMain->SetFocus();
    return doc;
}

frmDoc *frmMain::ActiveDocument() const
{
    const QMdiSubWindow *window = m_mdiArea->activeSubWindow();
    return window ? qobject_cast<frmDoc *>(window->widget()) : nullptr;
}

QList<frmDoc *> frmMain::Documents() const
{
    QList<frmDoc *> documents;
    for (const QMdiSubWindow *window : m_mdiArea->subWindowList())
        if (auto *doc = qobject_cast<frmDoc *>(window->widget()))
            documents.append(doc);
    return documents;
}

void frmMain::OnSubWindowActivated(QMdiSubWindow *window)
{
    if (auto *doc = window ? qobject_cast<frmDoc *>(window->widget()) : nullptr)
        TryStep([&] { doc->Form_Activate(); });
}

// Every document may refuse; one refusal keeps everything open and writes no
// setting.
bool frmMain::QueryCloseDocuments()
{
    for (frmDoc *doc : Documents())
        if (!doc->QueryClose())
            return false;
    return true;
}

void frmMain::CloseDocuments()
{
    for (frmDoc *doc : Documents()) {
        doc->ApproveClose();
        if (QWidget *window = doc->parentWidget())
            window->close();
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!QueryCloseDocuments()) {
        event->ignore();
        return;
    }
    CloseDocuments();
    MDIForm_Unload();
    event->accept();
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_restoredFrame) {
        WindowPlacement::ApplyFrame(this, *m_restoredFrame);
        m_restoredFrame.reset();
    }
}

void frmMain::MDIForm_Unload()
{
    TryStep([&] { WindowPlacement::Save(this); });
}
