#pragma once

// What every seam shares: the implementation in use is the system's own
// unless a test has installed a replacement. A seam derives from Seam of
// itself and names its system implementation in a static System():
//
//     class PrinterSeam : public Seam<PrinterSeam>
//     {
//     public:
//         static PrinterSeam &System();
//         ...
//     };
template <class Interface>
class Seam
{
public:
    // The implementation in use.
    static Interface &Current() { return s_replacement ? *s_replacement : Interface::System(); }
    // Installs a replacement (not owned); nullptr goes back to the system's.
    static void Install(Interface *replacement) { s_replacement = replacement; }

protected:
    Seam() = default;
    ~Seam() = default;

private:
    static inline Interface *s_replacement = nullptr;
};
