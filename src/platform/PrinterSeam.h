#pragma once

#include "Seam.h"

#include <memory>

class QPrinter;

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
};
