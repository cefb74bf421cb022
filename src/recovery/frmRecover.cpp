#include "frmRecover.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString DocumentName(const BackupInfo &info)
{
    return info.path.isEmpty() ? info.title : info.path;
}

class SystemRecoveryPrompt : public RecoveryPrompt
{
public:
    Answer Ask(QWidget *owner, const QList<RecoverableDocument> &documents) override
    {
        frmRecover dialog(owner, documents);
        dialog.exec();
        return dialog.Choice();
    }
};

} // namespace

RecoveryPrompt &RecoveryPrompt::System()
{
    static SystemRecoveryPrompt prompt;
    return prompt;
}

frmRecover::frmRecover(QWidget *owner, const QList<RecoverableDocument> &documents)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmRecover"));
    setWindowTitle(QStringLiteral("恢复未保存的文档"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("上次运行没有正常结束。下面这些文档有未保存的修改，可以恢复："), this));

    auto *list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("lstDocuments"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("文档"), QStringLiteral("时间"), QStringLiteral("大小")});
    const QLocale locale;
    for (const RecoverableDocument &document : documents)
        new QTreeWidgetItem(list, {DocumentName(document.info),
                                   locale.toString(document.info.time.toLocalTime(), QLocale::ShortFormat),
                                   locale.formattedDataSize(document.info.size)});
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(list);

    auto *buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString &caption, RecoveryPrompt::Answer answer, QDialogButtonBox::ButtonRole role) {
        QPushButton *button = buttons->addButton(caption, role);
        connect(button, &QPushButton::clicked, this, [this, answer] {
            m_choice = answer;
            accept();
        });
        return button;
    };
    add(QStringLiteral("恢复"), RecoveryPrompt::Answer::Recover, QDialogButtonBox::AcceptRole)->setDefault(true);
    add(QStringLiteral("丢弃"), RecoveryPrompt::Answer::Discard, QDialogButtonBox::DestructiveRole);
    add(QStringLiteral("以后再说"), RecoveryPrompt::Answer::Later, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    resize(560, 300);
}
