// Measures reading one value from, and planning a save into, settings files
// of about 1 MB that are built to be slow: a serialised value nested 50,000
// lists deep, a million line ends, 80,000 distinct keys, one long value, a
// quote left open over every line, and 40,000 headers. Prints one table:
// the median of several runs, in milliseconds.
//
//   korval_settings_bench

#include "settings/IniSave.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    const char* label;
    std::string text;
};

std::vector<Case> cases()
{
    std::vector<Case> all;
    std::string nested = "[OPTION]\nWIDTH=\\x40Variant(";
    for (int level = 0; level < 50000; ++level)
        nested += "\\0\\0\\0\\t\\0\\0\\0\\x01";
    all.push_back({"deeply nested value", nested + "\nHEIGHT=18\n"});
    all.push_back({"line ends only", std::string(1 << 20, '\n')});
    std::string keys = "[OPTION]\n";
    for (int key = 0; keys.size() < (1u << 20); ++key)
        keys += "K" + std::to_string(key) + "=" + std::to_string(key) + "\n";
    all.push_back({"distinct keys", keys});
    all.push_back({"one long value", "[OPTION]\nWIDTH=" + std::string(1 << 20, '7') + "\n"});
    std::string open = "[OPTION]\nNOTE=\"";
    while (open.size() < (1u << 20))
        open += "WIDTH=16\n";
    all.push_back({"quote left open", open});
    std::string headers;
    while (headers.size() < (1u << 20))
        headers += "[OPTION]\nWIDTH=16\n";
    all.push_back({"headers", headers});
    return all;
}

template <class Call>
double medianMillis(Call&& call)
{
    std::vector<double> runs;
    for (int run = 0; run < 7; ++run) {
        const auto start = Clock::now();
        call();
        runs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

} // namespace

int main()
{
    const korval::ini::Entries entries{{"WIDTH", "16"}, {"HEIGHT", "20"}, {"TEXTSIZE", "12"}, {"SYSTEM", "1"}};
    std::printf("%-22s %10s %10s %10s\n", "file", "KB", "read ms", "save ms");
    for (const Case& file : cases()) {
        const double read = medianMillis([&] { (void)korval::ini::valueIn(file.text, "OPTION", "WIDTH"); });
        const double save = medianMillis([&] { (void)korval::ini::saved(file.text, "OPTION", entries); });
        std::printf("%-22s %10zu %10.2f %10.2f\n", file.label, file.text.size() / 1024, read, save);
    }
    return 0;
}
