#include "dialogs/help_file.h"

#include "logweave/text.h"

namespace logweave::dialogs {

std::string helpFileString(const std::string& file, const std::optional<std::string>& windowType)
{
    if (!windowType || windowType->empty())
        return file;
    return std::string(trimSpaces(file)) + ">" + std::string(trimSpaces(*windowType));
}

void HelpFile::showContents(const std::string& file, const std::optional<std::string>& windowType,
                            std::optional<std::int32_t> contextId)
{
    platform::HelpRequest request;
    request.file = helpFileString(file, windowType);
    request.command = contextId ? platform::HelpCommand::HelpContext : platform::HelpCommand::DisplayToc;
    request.data = contextId.value_or(0);
    viewer_.show(request);
}

void HelpFile::showIndex(const std::string& file, const std::optional<std::string>& windowType)
{
    viewer_.show({helpFileString(file, windowType), platform::HelpCommand::DisplayIndex, 0, std::nullopt});
}

void HelpFile::showSearch(const std::string& file, const std::optional<std::string>& windowType)
{
    platform::HelpSearchQuery query;
    query.query = "TEST";
    viewer_.show({helpFileString(file, windowType), platform::HelpCommand::DisplaySearch, 0, query});
}

}  // namespace logweave::dialogs
