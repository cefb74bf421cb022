#pragma once

#include "Seam.h"

#include <cstdint>
#include <optional>

class QWidget;

// The colour chooser goes through here, so tests can pick a colour (or
// cancel) without a person at the screen. Colours are COLORREF values.
class ColourChooserSeam : public Seam<ColourChooserSeam>
{
public:
    // Qt's colour dialog.
    static ColourChooserSeam &System();

    virtual ~ColourChooserSeam() = default;

    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<std::int32_t> ChooseColour(QWidget *owner, std::int32_t initial) = 0;
};
