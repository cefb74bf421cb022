#pragma once

#include "RecoveryPrompt.h"

#include <QDialog>

// Lists what a crashed run left (name, time, size) with 恢复, 丢弃 and
// 以后再说.
class frmRecover : public QDialog
{
    Q_OBJECT

public:
    frmRecover(QWidget *owner, const QList<RecoverableDocument> &documents);

    RecoveryPrompt::Answer Choice() const { return m_choice; }

private:
    RecoveryPrompt::Answer m_choice = RecoveryPrompt::Answer::Later;
};
