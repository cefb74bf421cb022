// The X-free parts of the desktop benchmark: telling highlighted text from
// grey, finding it against the plain screen, timing pings, reading /proc
// and the table.
#include "PingLedger.h"
#include "Pixels.h"
#include "ProcStatus.h"
#include "ResultTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

using namespace deskbench;

namespace {

constexpr Rgb White = {255, 255, 255}, Black = {0, 0, 0}, Navy = {0, 0, 128}, Blue = {53, 132, 228};

Image Filled(int width, int height, Rgb colour)
{
    return {width, height, std::vector<Rgb>(size_t(width) * size_t(height), colour)};
}

void Paint(Image &image, Box box, Rgb colour)
{
    for (int y = box.y; y < box.y + box.height; ++y)
        for (int x = box.x; x < box.x + box.width; ++x)
            image.pixels[size_t(y) * size_t(image.width) + size_t(x)] = colour;
}

} // namespace

TEST(DeskbenchPixels, SaturatedMeansColouredNotGreyBlackOrWhite)
{
    for (const Rgb colour : {Navy, Blue, Rgb{127, 0, 85}, Rgb{0, 128, 0}, Rgb{200, 40, 40}})
        EXPECT_TRUE(IsSaturated(colour)) << int(colour.r) << "," << int(colour.g) << "," << int(colour.b);
    // Anti-aliased black text, greys (a bluish one too), a near-white tint
    // and a near-black one.
    for (const Rgb colour : {White, Black, Rgb{128, 128, 128}, Rgb{60, 62, 70}, Rgb{100, 116, 140}, Rgb{240, 248, 255},
                              Rgb{40, 0, 40}})
        EXPECT_FALSE(IsSaturated(colour)) << int(colour.r) << "," << int(colour.g) << "," << int(colour.b);
}

TEST(DeskbenchPixels, CalibrationFindsTheKeywordsNotTheChrome)
{
    Image plain = Filled(200, 100, White);
    // A coloured title bar and a coloured icon both screens share, black
    // text on the plain screen that is navy where highlighted.
    Paint(plain, {0, 0, 200, 10}, Blue);
    Paint(plain, {0, 20, 12, 12}, Blue);
    Paint(plain, {50, 30, 30, 8}, Black);
    Paint(plain, {50, 60, 90, 8}, Black);
    Image highlighted = plain;
    Paint(highlighted, {50, 30, 30, 8}, Navy);
    Paint(highlighted, {50, 60, 20, 8}, Navy);
    // A side panel's icon that only the highlighted file's screen has.
    Paint(highlighted, {0, 50, 10, 10}, Rgb{200, 160, 0});

    const Calibration calibration = Calibrate(highlighted, plain);
    EXPECT_EQ(calibration.colour.b, 128);
    EXPECT_EQ(calibration.colour.r, 0);
    EXPECT_EQ(calibration.area.x, 50);
    EXPECT_EQ(calibration.area.y, 30);
    EXPECT_EQ(calibration.area.width, 30);
    EXPECT_EQ(calibration.area.height, 38);
    EXPECT_EQ(calibration.count, 30 * 8 + 20 * 8);
    // The plain screen's ink and white in the keyword rows (4 pixels to
    // spare above and below), right of the keywords' left edge: the text,
    // not the icon.
    EXPECT_EQ(calibration.ink, 30 * 8 + 90 * 8);
    EXPECT_EQ(calibration.light, 150 * 46 - calibration.ink);
}

TEST(DeskbenchPixels, TextShowsOnlyAsEnoughInkOnAPaintedBackground)
{
    // The settled band: 400 pixels of ink on 4000 of white, the rest a
    // grey desk beside the document's window.
    const int settledInk = 400, settledLight = 4000;
    const Rgb desk = {160, 160, 160};
    const auto document = [&] {
        Image band = Filled(200, 40, desk);
        Paint(band, {0, 0, 100, 40}, White);
        return band;
    };
    Image band = document();
    EXPECT_FALSE(ShowsText(band, settledInk, settledLight)) << "an empty text area";
    // A window not painted yet is black all over: dark, but no text.
    EXPECT_FALSE(ShowsText(Filled(200, 40, Black), settledInk, settledLight));
    EXPECT_FALSE(ShowsText(Filled(200, 40, Rgb{30, 30, 30}), settledInk, 0));
    Paint(band, {10, 10, 9, 10}, Black);
    EXPECT_FALSE(ShowsText(band, settledInk, settledLight)) << "90 pixels: less than a quarter of the settled text";
    Paint(band, {30, 10, 1, 10}, Rgb{100, 100, 100});
    EXPECT_TRUE(ShowsText(band, settledInk, settledLight)) << "a quarter, anti-aliased grey edges included";
    // However little text the settled screen had, a few stray dark pixels
    // (a caret, a margin's edge) are not a screen of text.
    Image caret = document();
    Paint(caret, {10, 5, 1, 19}, Black);
    EXPECT_FALSE(ShowsText(caret, 0, settledLight));
    // Coloured words are not ink: a screen of keywords alone needs the
    // colour check.
    Image keywords = document();
    Paint(keywords, {10, 10, 80, 10}, Navy);
    EXPECT_FALSE(ShowsText(keywords, settledInk, settledLight));
    // Text on a window's pale grey counts; with most of the text area's
    // background still dark (half painted) it does not.
    Image grey = Filled(200, 40, desk);
    Paint(grey, {0, 0, 100, 40}, Rgb{239, 239, 239});
    Paint(grey, {10, 10, 80, 10}, Black);
    EXPECT_TRUE(ShowsText(grey, settledInk, settledLight));
    Paint(grey, {0, 15, 100, 25}, Black);
    EXPECT_FALSE(ShowsText(grey, settledInk, settledLight));
}

TEST(DeskbenchPixels, TextBandReachesTheRightEdgeWithRowsToSpare)
{
    const Box band = TextBand({40, 100, 300, 200});
    EXPECT_EQ(band.x, 40);
    EXPECT_EQ(band.y, 96);
    EXPECT_EQ(band.height, 208);
    EXPECT_GE(band.x + band.width, 1 << 14);
    const InkCount count = CountInk(Filled(100, 50, Black), {90, 40, 30, 30});
    EXPECT_EQ(count.ink, 100) << "clipped to the image";
    EXPECT_EQ(count.total, 100);
    EXPECT_EQ(count.light, 0);
}

TEST(DeskbenchPixels, CalibrationFindsNothingWithoutHighlightingOrOnScreensOfOtherSizes)
{
    Image plain = Filled(50, 50, White);
    Paint(plain, {5, 5, 20, 5}, Black);
    EXPECT_EQ(Calibrate(plain, plain).count, 0);
    Image highlighted = plain;
    Paint(highlighted, {5, 5, 20, 5}, Navy);
    EXPECT_GT(Calibrate(highlighted, plain).count, 0);
    Image shorter = Filled(50, 49, White);
    Paint(shorter, {5, 5, 20, 5}, Black);
    EXPECT_EQ(Calibrate(highlighted, shorter).count, 0);
}

TEST(DeskbenchPixels, CountNearClipsTheBoxAndAllowsForBlending)
{
    Image image = Filled(20, 20, White);
    Paint(image, {15, 15, 5, 5}, Navy);
    Paint(image, {0, 0, 2, 1}, Rgb{20, 20, 150});
    EXPECT_EQ(CountNear(image, {10, 10, 100, 100}, Navy, 0), 25);
    EXPECT_EQ(CountNear(image, {-5, -5, 10, 10}, Navy, 30), 2);
    EXPECT_EQ(CountNear(image, {-5, -5, 10, 10}, Navy, 10), 0);
}

TEST(DeskbenchPixels, PpmRoundTripAndRejectsTruncatedFiles)
{
    const auto folder = std::filesystem::temp_directory_path() / ("deskbench-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    Image image = Filled(3, 2, White);
    image.pixels[4] = Navy;
    const std::string path = (folder / "shot.ppm").string();
    ASSERT_TRUE(SavePpm(image, path));
    const auto loaded = LoadPpm(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->width, 3);
    EXPECT_EQ(loaded->height, 2);
    EXPECT_EQ(loaded->At(1, 1).b, 128);
    EXPECT_EQ(loaded->At(0, 0).g, 255);

    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
    EXPECT_FALSE(LoadPpm(path));
    EXPECT_FALSE(LoadPpm((folder / "missing.ppm").string()));
    std::filesystem::remove_all(folder);
}

TEST(DeskbenchPings, BlocksCountBeforeOrAfterTheFirstScreenBySendingTime)
{
    PingLedger pings;
    pings.Sent(1, 1.000);
    pings.FirstScreen(1.100);
    // Sent before the first screen, answered long after it: a block the
    // user waited through before seeing anything.
    EXPECT_NEAR(*pings.Answered(1, 1.500), 500, 1e-6);
    pings.Sent(2, 1.100);
    EXPECT_NEAR(*pings.Answered(2, 1.130), 30, 1e-6);
    pings.Sent(3, 1.200);
    EXPECT_NEAR(*pings.Answered(3, 1.210), 10, 1e-6);
    EXPECT_NEAR(pings.LongestBeforeMs(), 500, 1e-6);
    EXPECT_NEAR(pings.LongestAfterMs(), 30, 1e-6);
    EXPECT_EQ(pings.Counted(), 3);
    // An answer to a ping it never sent (the window manager's) is ignored.
    EXPECT_FALSE(pings.Answered(99, 1.3));
    EXPECT_EQ(pings.Counted(), 3);
}

TEST(DeskbenchPings, DroppedPingsAreLostAndWaitingOnesCountAtTheClose)
{
    PingLedger pings;
    pings.Sent(1, 0.0);
    pings.Sent(2, 0.1);
    pings.Sent(3, 0.2);
    EXPECT_NEAR(pings.OldestWaitingMs(0.25), 250, 1e-6);
    // 3 answered before 1 and 2: those were dropped, not blocked.
    pings.Answered(3, 0.21);
    EXPECT_EQ(pings.Lost(), 2);
    EXPECT_NEAR(pings.OldestWaitingMs(0.3), 0, 1e-6);
    EXPECT_NEAR(pings.LongestBeforeMs(), 10, 1e-9);
    EXPECT_FALSE(pings.Answered(1, 0.3));

    // Still waiting at the close: blocked at least its age.
    pings.Sent(4, 1.0);
    pings.Close(3.0);
    EXPECT_NEAR(pings.LongestBeforeMs(), 2000, 1e-6);
    // After the close answers no longer count towards the blocks.
    pings.Sent(5, 3.0);
    EXPECT_NEAR(*pings.Answered(5, 8.0), 5000, 1e-6);
    EXPECT_NEAR(pings.LongestBeforeMs(), 2000, 1e-6);
    EXPECT_EQ(pings.Counted(), 2);
}

TEST(DeskbenchProc, StatusLinesInBytes)
{
    const std::string status = "Name:\tferrolan\nVmPeak:\t  900 kB\nVmHWM:\t  123456 kB\nVmRSS:\t    2048 kB\n"
                               "Threads:\t4\n";
    EXPECT_EQ(StatusBytes(status, "VmHWM"), 123456LL * 1024);
    EXPECT_EQ(StatusBytes(status, "VmRSS"), 2048LL * 1024);
    // "VmHWM" must not match a longer name that starts alike, nor a count.
    EXPECT_FALSE(StatusBytes("VmHWMx:\t5 kB\n", "VmHWM"));
    EXPECT_FALSE(StatusBytes(status, "Threads"));
    EXPECT_FALSE(StatusBytes(status, "VmSwap"));
    EXPECT_FALSE(StatusBytes("", "VmHWM"));
}

TEST(DeskbenchProc, CpuTicksAfterACommandNameWithSpacesAndParentheses)
{
    // utime 1500 and stime 250 are the 14th and 15th fields.
    const std::string stat = "4242 (my (odd) prog) S 1 4242 4242 0 -1 4194304 100 0 0 0 1500 250 0 0 20 0 4 0";
    EXPECT_EQ(CpuTicks(stat), 1750);
    EXPECT_FALSE(CpuTicks(""));
    EXPECT_FALSE(CpuTicks("4242 (prog) S 1 2 3"));
    EXPECT_FALSE(CpuTicks("4242 (prog) S 1 4242 4242 0 -1 4194304 100 0 0 0 x 250 0"));
}

TEST(DeskbenchTable, RowsRatiosTimeoutsAndUnmeasuredFigures)
{
    const std::string text =
        "editor=ferrolan file=cpp100 size=104857600 first_window_s=0.2 first_screen_s=0.22 colour_expected=1 "
        "first_coloured_s=0.25 block_after_ms=20 block_overall_ms=80 "
        "peak_bytes=209715200 key_first_ms=3 key_steady_ms=1.5 status=ok\n"
        "\n"
        "editor=geany file=cpp100 size=104857600 first_window_s=0.8 first_screen_s=0.9 colour_expected=1 first_coloured_s=1 "
        "block_after_ms=40 block_overall_ms=0 peak_bytes=419430400 key_first_ms=6 status=ok\n"
        "editor=geany file=line100 size=104857600 status=timeout colour_expected=0 peak_bytes=104857600 first_window_s=2\n"
        "editor=ferrolan file=line100 size=104857600 status=timeout colour_expected=0 peak_bytes=52428800 "
        "first_window_s=1 first_screen_s=4\n"
        "editor=ferrolan file=cpp1g size=1073741824 status=timeout colour_expected=1 first_window_s=1 first_screen_s=2\n";
    const std::string table = FormatTable(ParseRecords(text));
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = table.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(table.substr(start, end - start));
    ASSERT_EQ(lines.size(), 8u) << table;
    const auto words = [](const std::string &line) {
        std::vector<std::string> result;
        for (size_t start = 0; start < line.size();) {
            const size_t space = line.find(' ', start);
            const size_t end = space == std::string::npos ? line.size() : space;
            if (end > start)
                result.push_back(line.substr(start, end - start));
            start = end + 1;
        }
        return result;
    };
    EXPECT_EQ(words(lines[1]), (std::vector<std::string>{"cpp100", "ferrolan", "0.200", "0.220", "0.250", "20.0", "80.0",
                                                         "200", "2.00", "3.0", "1.5"}));
    // Geany measured no steady keystroke and did not time out: "-".
    EXPECT_EQ(words(lines[2]), (std::vector<std::string>{"cpp100", "geany", "0.800", "0.900", "1.000", "40.0", "0.0", "400",
                                                         "4.00", "6.0", "-"}));
    // A ratio needs both figures and a divisor above zero.
    EXPECT_EQ(words(lines[3]), (std::vector<std::string>{"cpp100", "ferrolan/geany", "0.25", "0.24", "0.25", "0.50", "-",
                                                         "0.50", "0.50", "0.50", "-"}));
    // A file opened as plain text has no coloured screen to wait for: "-",
    // even in a run that timed out.
    EXPECT_EQ(words(lines[4]), (std::vector<std::string>{"line100", "geany", "2.000", "timeout", "-", "timeout",
                                                         "timeout", "100", "1.00", "timeout", "timeout"}));
    EXPECT_EQ(words(lines[5]), (std::vector<std::string>{"line100", "ferrolan", "1.000", "4.000", "-", "timeout",
                                                         "timeout", "50", "0.50", "timeout", "timeout"}));
    // Runs cut short compare in what both reached, not in what is taken at
    // the end (their peak memory was still growing).
    EXPECT_EQ(words(lines[6]), (std::vector<std::string>{"line100", "ferrolan/geany", "0.50", "-", "-", "-", "-", "-",
                                                         "-", "-", "-"}));
    // Text shown, colour awaited until the time ran out.
    EXPECT_EQ(words(lines[7]), (std::vector<std::string>{"cpp1g", "ferrolan", "1.000", "2.000", "timeout", "timeout",
                                                         "timeout", "timeout", "timeout", "timeout", "timeout"}));
    // Every row as wide as the header, so the columns line up.
    for (const std::string &line : lines)
        EXPECT_EQ(line.size(), lines[0].size()) << line;
}
