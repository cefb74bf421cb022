#pragma once

#include "SeamDouble.h"
#include "platform/NumberInputSeam.h"

#include <QList>
#include <optional>

// Answers number questions from a script (nothing = the user cancelled) and
// remembers what each question offered: value, minimum, maximum.
class ScriptedNumberInput : public SeamDouble<NumberInputSeam>
{
public:
    struct Question
    {
        QString label;
        int value, minimum, maximum;
        bool operator==(const Question &) const = default;
    };

    void Answer(std::optional<int> number) { m_answers.append(number); }

    std::optional<int> AskNumber(QWidget *, const QString &, const QString &label, int value, int minimum,
                                 int maximum) override
    {
        asked.append({label, value, minimum, maximum});
        return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
    }

    QList<Question> asked;

private:
    QList<std::optional<int>> m_answers;
};
