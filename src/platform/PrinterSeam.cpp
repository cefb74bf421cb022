#include "PrinterSeam.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

class SystemPrinter : public PrinterSeam
{
public:
    std::unique_ptr<QPrinter> DefaultPrinter() override
    {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
};

SystemPrinter g_system;
PrinterSeam *g_current = &g_system;

} // namespace

PrinterSeam &PrinterSeam::Current()
{
    return *g_current;
}

void PrinterSeam::Install(PrinterSeam *replacement)
{
    g_current = replacement ? replacement : &g_system;
}
