#pragma once

#include "SeamDouble.h"
#include "platform/PrinterSeam.h"

#include <QByteArray>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QString>
#include <functional>

// A printer that writes a PDF file, installed as the default printer for as
// long as it lives. The page margins stand for the unprintable edge of a
// real printer. nullPrinter makes it a machine without any printer.
class PdfPrinter : public SeamDouble<PrinterSeam>
{
public:
    explicit PdfPrinter(QString path, QMarginsF edgeInches = {}, int dpi = 600)
        : m_path(std::move(path)), m_edge(edgeInches), m_dpi(dpi) {}

    bool nullPrinter = false;
    int handedOut = 0;
    // The print dialog: how often it was shown, what it answers, and the
    // page range it sets (0: all pages).
    int dialogsShown = 0;
    bool cancelDialog = false;
    int fromPage = 0, toPage = 0;
    int previewsShown = 0;

    // Printing to a file (all there is with no printer installed) writes
    // this double's file, as if chosen in the dialog.
    bool AskPrintSettings(QPrinter &printer, QWidget *) override
    {
        ++dialogsShown;
        if (cancelDialog)
            return false;
        if (printer.outputFormat() == QPrinter::PdfFormat)
            printer.setOutputFileName(m_path);
        if (fromPage > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(fromPage, toPage);
        }
        return true;
    }

    // The preview's pages go to the file instead of the screen.
    void ShowPreview(QPrinter &printer, QWidget *, const std::function<void(QPrinter *)> &paint) override
    {
        ++previewsShown;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_path);
        paint(&printer);
    }

    std::unique_ptr<QPrinter> DefaultPrinter() override
    {
        ++handedOut;
        if (nullPrinter)
            return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_path);
        printer->setResolution(m_dpi);
        printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           m_edge * 25.4, QPageLayout::Millimeter));
        return printer;
    }

    // Pages of the written file, counted from its page objects; -1 when
    // there is no file.
    static int PageCount(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray pdf = file.readAll();
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
        return int(QString::fromLatin1(pdf).count(page));
    }

private:
    QString m_path;
    QMarginsF m_edge;
    int m_dpi;
};
