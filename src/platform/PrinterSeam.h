#pragma once

#include "Seam.h"

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

// Hands out the printer to print on: the system's default printer, or in
// tests a printer that writes a PDF file.
class PrinterSeam : public Seam<PrinterSeam>
{
public:
    // The system's default printer.
    static PrinterSeam &System();

    virtual ~PrinterSeam() = default;

    // A fresh printer object for one print run; nullptr when the system
    // has no printer.
    virtual std::unique_ptr<QPrinter> DefaultPrinter() = 0;
    // The print dialog on this printer (printer, pages, copies, printing to
    // a PDF file); false when cancelled.
    virtual bool AskPrintSettings(QPrinter &printer, QWidget *parent) = 0;
    // The preview window, its pages drawn by paint; returns when it closes.
    virtual void ShowPreview(QPrinter &printer, QWidget *parent, const std::function<void(QPrinter *)> &paint) = 0;
};
