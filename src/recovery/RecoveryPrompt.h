#pragma once

#include "RecoverySets.h"
#include "platform/Seam.h"

class QWidget;

// The question at start after a crash: the documents that can be
// recovered, and what to do with them.
class RecoveryPrompt : public Seam<RecoveryPrompt>
{
public:
    enum class Answer { Recover, Discard, Later };

    static RecoveryPrompt &System();
    virtual ~RecoveryPrompt() = default;
    virtual Answer Ask(QWidget *owner, const QList<RecoverableDocument> &documents) = 0;
};
