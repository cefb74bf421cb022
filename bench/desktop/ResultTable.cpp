#include "ResultTable.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace deskbench {

std::string Record::Get(const std::string &key) const
{
    const auto found = fields.find(key);
    return found == fields.end() ? std::string() : found->second;
}

std::optional<double> Record::Number(const std::string &key) const
{
    const std::string text = Get(key);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<Record> ParseRecords(const std::string &text)
{
    std::vector<Record> records;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        Record record;
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            const auto equals = word.find('=');
            if (equals != std::string::npos && equals > 0)
                record.fields[word.substr(0, equals)] = word.substr(equals + 1);
        }
        if (!record.fields.empty())
            records.push_back(std::move(record));
    }
    return records;
}

namespace {

constexpr double MiB = 1024.0 * 1024.0;

// A figure of a run: its record key, how to scale it and how many decimals.
struct Column
{
    const char *title;
    const char *key;
    double scale;
    int decimals;
    bool perFileSize; // divided by the file's size instead of scaled
    bool atEnd;       // taken at the end: a run cut short has a smaller one
    const char *measuredIf = nullptr; // a record key that reads "0" where the figure is not measured
};

const Column Columns[] = {
    {"first window (s)", "first_window_s", 1, 3, false, false},
    {"first screen (s)", "first_screen_s", 1, 3, false, false},
    {"first coloured (s)", "first_coloured_s", 1, 3, false, false, "colour_expected"},
    {"block after (ms)", "block_after_ms", 1, 1, false, true},
    {"block overall (ms)", "block_overall_ms", 1, 1, false, true},
    {"peak (MB)", "peak_bytes", 1 / MiB, 0, false, true},
    {"peak x size", "peak_bytes", 1, 2, true, true},
    {"first key (ms)", "key_first_ms", 1, 1, false, false},
    {"steady key (ms)", "key_steady_ms", 1, 1, false, false},
};

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::optional<double> Figure(const Record &record, const Column &column)
{
    if (column.measuredIf && record.Get(column.measuredIf) == "0")
        return std::nullopt;
    const auto value = record.Number(column.key);
    if (!value)
        return std::nullopt;
    if (!column.perFileSize)
        return *value * column.scale;
    const auto size = record.Number("size");
    if (!size || *size <= 0)
        return std::nullopt;
    return *value / *size;
}

std::string Cell(const Record &record, const Column &column)
{
    if (const auto value = Figure(record, column))
        return Fixed(*value, column.decimals);
    const bool measured = !column.measuredIf || record.Get(column.measuredIf) != "0";
    return measured && record.Get("status") == "timeout" ? "timeout" : "-";
}

std::string RatioCell(const Record &ferrolan, const Record &geany, const Column &column)
{
    const auto mine = Figure(ferrolan, column), theirs = Figure(geany, column);
    const bool complete = ferrolan.Get("status") == "ok" && geany.Get("status") == "ok";
    if (!mine || !theirs || *theirs <= 0 || (column.atEnd && !complete))
        return "-";
    return Fixed(*mine / *theirs, 2);
}

const Record *RunOf(const std::vector<Record> &records, const std::string &file, const std::string &editor)
{
    for (const Record &record : records)
        if (record.Get("file") == file && record.Get("editor") == editor)
            return &record;
    return nullptr;
}

std::string Render(const std::vector<std::vector<std::string>> &rows)
{
    std::vector<size_t> widths;
    for (const auto &row : rows)
        for (size_t i = 0; i < row.size(); ++i) {
            widths.resize(std::max(widths.size(), row.size()), 0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    std::string out;
    for (const auto &row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            const std::string &cell = row[i];
            // Names left-aligned, figures right-aligned.
            const std::string pad(widths[i] - cell.size(), ' ');
            out += i < 2 ? cell + pad : pad + cell;
            out += i + 1 < row.size() ? "  " : "";
        }
        out += '\n';
    }
    return out;
}

} // namespace

std::string FormatTable(const std::vector<Record> &records)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header = {"file", "editor"};
    for (const Column &column : Columns)
        header.push_back(column.title);
    rows.push_back(header);

    std::vector<std::string> files;
    for (const Record &record : records)
        if (std::find(files.begin(), files.end(), record.Get("file")) == files.end())
            files.push_back(record.Get("file"));
    for (const std::string &file : files) {
        for (const Record &record : records) {
            if (record.Get("file") != file)
                continue;
            std::vector<std::string> row = {file, record.Get("editor")};
            for (const Column &column : Columns)
                row.push_back(Cell(record, column));
            rows.push_back(row);
        }
        const Record *ferrolan = RunOf(records, file, "ferrolan");
        const Record *geany = RunOf(records, file, "geany");
        if (ferrolan && geany) {
            std::vector<std::string> row = {file, "ferrolan/geany"};
            for (const Column &column : Columns)
                row.push_back(RatioCell(*ferrolan, *geany, column));
            rows.push_back(row);
        }
    }
    return Render(rows);
}

} // namespace deskbench
