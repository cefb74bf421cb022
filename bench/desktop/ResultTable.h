// The table of the desktop benchmark: one record per run of the probe
// ("key=value" words on a line), grouped by file, with ferrolan/geany ratios.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace deskbench {

struct Record
{
    std::map<std::string, std::string> fields;
    std::string Get(const std::string &key) const;
    std::optional<double> Number(const std::string &key) const;
};

// One record per non-empty line; words without "=" are ignored.
std::vector<Record> ParseRecords(const std::string &text);

// The table with a header, a row per run in the order given and, for each
// file that has a ferrolan and a geany run, a ratio row. A figure a timed-out
// run never reached reads "timeout"; one a run could not measure, or does
// not measure for its file (the first coloured screen of a file opened as
// plain text, colour_expected=0), reads "-".
std::string FormatTable(const std::vector<Record> &records);

} // namespace deskbench
