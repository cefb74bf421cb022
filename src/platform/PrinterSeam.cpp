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


} // namespace

PrinterSeam &PrinterSeam::System()
{
    static SystemPrinter system;
    return system;
}
