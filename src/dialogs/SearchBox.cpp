#include "SearchBox.h"

#include <QComboBox>

QComboBox *NewSearchBox(QWidget *parent, const QString &name, int minimumWidth)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(minimumWidth);
    return box;
}
