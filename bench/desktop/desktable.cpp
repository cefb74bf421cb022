// desktable: prints the table of the records deskprobe wrote (standard input).
#include "ResultTable.h"

#include <cstdio>
#include <iostream>
#include <iterator>

int main()
{
    const std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    std::fputs(deskbench::FormatTable(deskbench::ParseRecords(text)).c_str(), stdout);
    return 0;
}
