#pragma once

#include "SeamDouble.h"
#include "platform/ColourChooserSeam.h"

#include <QList>
#include <optional>

// Picks colours from a script (nothing = the user cancelled) and remembers
// the colour each chooser opened with.
class ScriptedColourChooser : public SeamDouble<ColourChooserSeam>
{
public:
    void Answer(std::optional<std::int32_t> colour) { m_answers.append(colour); }

    std::optional<std::int32_t> ChooseColour(QWidget *, std::int32_t initial) override
    {
        opened.append(initial);
        return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
    }

    QList<std::int32_t> opened;

private:
    QList<std::optional<std::int32_t>> m_answers;
};
