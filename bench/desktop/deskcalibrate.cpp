// deskcalibrate: from the settled screens of a highlighted file and of the
// same text as plain text (PPM, saved by deskprobe --calibrate), prints the
// keyword colour and area deskprobe then watches for, and the plain text's
// ink and background in that area's band, as key=value words.
#include "Pixels.h"

#include <cstdio>

int main(int argc, char **argv)
{
    using namespace deskbench;
    if (argc != 3) {
        std::fprintf(stderr, "usage: deskcalibrate HIGHLIGHTED.ppm PLAIN.ppm\n");
        return 2;
    }
    const auto highlighted = LoadPpm(argv[1]), plain = LoadPpm(argv[2]);
    if (!highlighted || !plain) {
        std::fprintf(stderr, "deskcalibrate: cannot read %s\n", highlighted ? argv[2] : argv[1]);
        return 1;
    }
    const Calibration calibration = Calibrate(*highlighted, *plain);
    if (calibration.count == 0) {
        std::fprintf(stderr, "deskcalibrate: no highlighted text found (screens %dx%d and %dx%d)\n",
                     highlighted->width, highlighted->height, plain->width, plain->height);
        return 1;
    }
    const Box &area = calibration.area;
    std::printf("colour=%02x%02x%02x area=%d,%d,%d,%d count=%d ink=%d light=%d\n", calibration.colour.r,
                calibration.colour.g, calibration.colour.b, area.x, area.y, area.width, area.height, calibration.count,
                calibration.ink, calibration.light);
    return 0;
}
