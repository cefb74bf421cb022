#pragma once

#include <QString>
#include <vector>

// What became of a print run: printed, no printer to print on, failed
// with a reason a user can read (Chinese), or stopped by the user. pageStarts holds the document
// position at which each printed page begins.
struct [[nodiscard]] PrintResult
{
    enum Outcome { Printed, NoPrinter, Failed, Stopped };

    Outcome outcome = Printed;
    QString reason;
    std::vector<long> pageStarts;

    bool ok() const { return outcome == Printed; }
    int Pages() const { return int(pageStarts.size()); }
    static PrintResult Missing(const QString &why) { return {NoPrinter, why, {}}; }
    static PrintResult Failure(const QString &why, std::vector<long> pages = {}) { return {Failed, why, std::move(pages)}; }
    static PrintResult Cancelled(std::vector<long> pages) { return {Stopped, QString(), std::move(pages)}; }
};
