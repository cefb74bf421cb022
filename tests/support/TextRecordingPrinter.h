#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>
#include <QTextItem>
#include <map>

// A printer whose pages are the texts drawn on them, in drawing order: the
// page code runs as on a real printer (A4 at 300 dpi), and a test reads back
// what each page says. One engine is both the painting and the printing end.
class TextRecordingEngine : public QPaintEngine, public QPrintEngine
{
public:
    TextRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    QStringList pages;

    // QPaintEngine
    bool begin(QPaintDevice *) override
    {
        pages = {QString()};
        m_state = QPrinter::Active;
        return true;
    }
    bool end() override
    {
        m_state = QPrinter::Idle;
        return true;
    }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawTextItem(const QPointF &, const QTextItem &item) override { pages.back() += item.text(); }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }

    // QPrintEngine
    bool newPage() override
    {
        pages.append(QString());
        return true;
    }
    bool abort() override
    {
        m_state = QPrinter::Aborted;
        return true;
    }
    int metric(QPaintDevice::PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case QPaintDevice::PdmWidth: return Layout().fullRectPixels(Dpi).width();
        case QPaintDevice::PdmHeight: return Layout().fullRectPixels(Dpi).height();
        case QPaintDevice::PdmWidthMM: return 210;
        case QPaintDevice::PdmHeightMM: return 297;
        case QPaintDevice::PdmDpiX:
        case QPaintDevice::PdmDpiY:
        case QPaintDevice::PdmPhysicalDpiX:
        case QPaintDevice::PdmPhysicalDpiY: return Dpi;
        case QPaintDevice::PdmDepth: return 32;
        case QPaintDevice::PdmNumColors: return INT_MAX;
        case QPaintDevice::PdmDevicePixelRatio: return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }
    QPrinter::PrinterState printerState() const override { return m_state; }
    void setProperty(PrintEnginePropertyKey key, const QVariant &value) override { m_properties[key] = value; }
    QVariant property(PrintEnginePropertyKey key) const override
    {
        switch (key) {
        case PPK_QPageLayout: return QVariant::fromValue(Layout());
        case PPK_Resolution: return Dpi;
        case PPK_SupportedResolutions: return QVariantList{Dpi};
        case PPK_FullPage: return false;
        case PPK_PageRect: return Layout().paintRectPixels(Dpi);
        case PPK_PaperRect: return Layout().fullRectPixels(Dpi);
        default: break;
        }
        const auto found = m_properties.find(key);
        return found == m_properties.end() ? QVariant() : found->second;
    }

private:
    static constexpr int Dpi = 300;
    static QPageLayout Layout()
    {
        return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Inch);
    }

    QPrinter::PrinterState m_state = QPrinter::Idle;
    std::map<PrintEnginePropertyKey, QVariant> m_properties;
};

class TextRecordingPrinter : public QPrinter
{
public:
    TextRecordingPrinter() { setEngines(&engine, &engine); }
    const QStringList &Pages() const { return engine.pages; }

private:
    TextRecordingEngine engine;
};
