#pragma once

#include <QString>

class QComboBox;
class QWidget;

// The text boxes of the find and replace dialogs: editable combo boxes whose
// lists stay empty (Enter searches; it never adds an entry).
QComboBox *NewSearchBox(QWidget *parent, const QString &name, int minimumWidth);
