#pragma once
// Google Benchmark 1.7 fits a family's complexity over those of its runs that
// passed, and crashes when none did (it takes the first of none). So a family
// gets a fit only when the filter leaves it two sizes or more; and when every
// one of those fails its check, the program stops at the last, printing why,
// before the fit would crash it.

#include <map>
#include <span>
#include <string>

namespace logweave::bench {

class FamilyFits {
public:
    // The filter as Google Benchmark reads it from these arguments, before
    // benchmark::Initialize takes them.
    FamilyFits(int argc, char** argv);

    // Whether the family gets a complexity fit: its runs are named
    // FAMILY/SIZE followed by `suffix`.
    bool fitted(const std::string& family, const std::string& suffix, std::span<const long long> sizes);

    // After each call of a case; stops the program after the last failure of
    // a fitted family none of whose sizes passed.
    void ran(const std::string& family, long long size, const std::string& failure);

private:
    bool selects(const std::string& runName) const;

    std::string filter_ = ".";
    struct Family {
        long long lastSize = 0;
        std::map<long long, bool> failed;
    };
    std::map<std::string, Family> fitted_;
};

}  // namespace logweave::bench
