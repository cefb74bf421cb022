#pragma once

#include <QPalette>
#include <QString>

// Which colours the languages show: their own (light) ones, their dark set,
// or whichever suits the desktop (dark when the window background is dark).
enum class ColourMode { Automatic, Light, Dark };

class ColourScheme
{
public:
    // The run's choice (Automatic until set).
    static ColourMode Mode();
    static void SetMode(ColourMode mode);

    // The stored choice ("ScintillaMDI", "Settings", "ColourScheme"); a
    // missing or unknown value reads as Automatic.
    static ColourMode ReadSetting();
    static void SaveSetting(ColourMode mode);

    // Whether that choice means dark colours on a desktop with that palette.
    static bool WantsDark(ColourMode mode, const QPalette &palette);
    // The same for the run's choice and the application's palette.
    static bool DarkInUse();

private:
    static QString Text(ColourMode mode);
};
