#pragma once
// The output options the user sets before opening a log; they hold for one run.

#include <string>

namespace logweave {

enum class HeaderSource { AddedLog, OpenLog, Program };

struct OutputOptions {
    std::string FieldOrderFile = "AdifCodes_Liste.txt";  // empty: no list
    bool UpperCaseNames = false;
    bool DoubleSpacing = false;
    HeaderSource headerSource = HeaderSource::AddedLog;

    bool operator==(const OutputOptions&) const = default;
};

}  // namespace logweave
