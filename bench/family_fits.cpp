#include "family_fits.h"

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string_view>

namespace logweave::bench {

FamilyFits::FamilyFits(int argc, char** argv)
{
    if (const char* fromEnvironment = std::getenv("BENCHMARK_FILTER"))
        filter_ = fromEnvironment;
    constexpr std::string_view kFlag = "--benchmark_filter=";
    for (int i = 1; i < argc; ++i)
        if (const std::string_view a = argv[i]; a.starts_with(kFlag))
            filter_ = a.substr(kFlag.size());
}

// An extended regular expression searched in the run's name; "-" in front
// excludes what it matches, "all" is every run.
bool FamilyFits::selects(const std::string& runName) const
{
    if (filter_.empty())
        return false;
    if (filter_ == "all")
        return true;
    const bool excluding = filter_.front() == '-';
    const std::regex pattern(excluding ? filter_.substr(1) : filter_, std::regex::extended);
    return std::regex_search(runName, pattern) != excluding;
}

bool FamilyFits::fitted(const std::string& family, const std::string& suffix, std::span<const long long> sizes)
{
    int selected = 0;
    long long last = 0;
    for (const long long size : sizes)
        if (selects(family + "/" + std::to_string(size) + suffix)) {
            ++selected;
            last = size;
        }
    if (selected < 2)
        return false;
    fitted_[family].lastSize = last;
    return true;
}

void FamilyFits::ran(const std::string& family, long long size, const std::string& failure)
{
    const auto it = fitted_.find(family);
    if (it == fitted_.end())
        return;
    Family& f = it->second;
    f.failed[size] = !failure.empty();
    if (size != f.lastSize || failure.empty())
        return;
    for (const auto& [other, failed] : f.failed)
        if (!failed)
            return;
    std::fprintf(stderr, "logweave_bench: %s: every size failed its check, the last with: %s\n", family.c_str(),
                 failure.c_str());
    std::exit(1);
}

}  // namespace logweave::bench
