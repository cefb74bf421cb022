#pragma once

#include <QString>
#include <stdexcept>

// A run-time error as the program raises it: a number, the routine that
// raised it and what went wrong. Callers that go on after a failure catch it;
// the others let it travel up.
class RuntimeError : public std::runtime_error
{
public:
    static constexpr long InvalidProcedureCall = 5;
    static constexpr long Overflow = 6;

    RuntimeError(long number, QString source, QString description)
        : std::runtime_error(description.toStdString()),
          m_number(number), m_source(std::move(source)), m_description(std::move(description))
    {
    }

    long Number() const { return m_number; }
    const QString &Source() const { return m_source; }
    const QString &Description() const { return m_description; }

private:
    long m_number;
    QString m_source;
    QString m_description;
};
