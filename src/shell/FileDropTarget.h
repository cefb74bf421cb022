#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

// Lets a widget take files dragged from a file manager: a drag that carries
// local files is accepted, and dropping it reports the files in order.
// Anything else (text, remote addresses) is left to the widget.
class FileDropTarget : public QObject
{
    Q_OBJECT

public:
    explicit FileDropTarget(QWidget *widget);

    // The local files of dragged data; empty when it carries none.
    static QStringList LocalFiles(const QMimeData *data);

signals:
    void FilesDropped(const QStringList &paths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
