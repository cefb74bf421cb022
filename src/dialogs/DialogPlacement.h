#pragma once

#include <QString>

class QWidget;

// Where a dialog appears: its left and top edge in twips, kept in the
// settings store under the dialog's own keys. Read when the dialog opens
// (centred on the screen when a key is missing or does not hold a number),
// written back whenever it closes.
class DialogPlacement
{
public:
    DialogPlacement(QString appName, QString leftKey, QString topKey);

    // The dialog should have its size already (adjustSize() after layout).
    void Restore(QWidget *dialog) const;
    void Save(const QWidget *dialog) const;

private:
    QString m_appName;
    QString m_leftKey;
    QString m_topKey;
};
