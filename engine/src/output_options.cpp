#include "logweave/output_options.h"

#include <charconv>

namespace logweave {

std::optional<int> windowMinutes(std::string_view digits) noexcept
{
    int minutes = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), minutes);
    if (error != std::errc{} || end != digits.data() + digits.size() || minutes <= 0)
        return std::nullopt;
    return minutes;
}

OutputForm OutputForm::of(const OutputOptions& options)
{
    OutputForm form;
    form.endOfRecord = options.upperCaseNames ? "<EOR>" : "<eor>";
    form.endOfHeader = options.upperCaseNames ? "<EOH>" : "<eoh>";
    form.lineSpacer = options.doubleSpacing ? "\r\n" : "";
    form.upperCaseNames = options.upperCaseNames;
    form.headerSource = options.headerSource;
    return form;
}

OutputForm OutputForm::ofWsjtxLog(const OutputOptions& options)
{
    OutputForm form = of(options);
    form.endOfRecord = "<eor>";
    form.endOfHeader = "<eoh>";
    return form;
}

}  // namespace logweave
