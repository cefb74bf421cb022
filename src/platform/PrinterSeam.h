#pragma once

#include <memory>

class QPrinter;

// Hands out the printer to print on: the system's default printer, or in
// tests a printer that writes a PDF file.
class PrinterSeam
{
public:
    virtual ~PrinterSeam() = default;

    // A fresh printer object for one print run; nullptr when the system
    // has no printer.
    virtual std::unique_ptr<QPrinter> DefaultPrinter() = 0;

    static PrinterSeam &Current();
    // Installs a replacement (not owned); nullptr goes back to the system's.
    static void Install(PrinterSeam *replacement);
};
