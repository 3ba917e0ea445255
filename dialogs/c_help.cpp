#include "dialogs/c_help.h"

#include "logweave/text.h"

namespace logweave::dialogs {

std::string helpFileString(const std::string& file, const std::optional<std::string>& windowPane)
{
    if (!windowPane || windowPane->empty())
        return file;
    return std::string(trimSpaces(file)) + ">" + std::string(trimSpaces(*windowPane));
}

void CHelp::Show(const std::string& NewFile, const std::optional<std::string>& WindowPane,
                 std::optional<std::int32_t> ContextID)
{
    platform::HelpRequest request;
    request.file = helpFileString(NewFile, WindowPane);
    request.command = ContextID ? platform::HelpCommand::HelpContext : platform::HelpCommand::DisplayToc;
    request.data = ContextID.value_or(0);
    viewer_.show(request);
}

void CHelp::ShowIndex(const std::string& NewFile, const std::optional<std::string>& WindowPane)
{
    viewer_.show({helpFileString(NewFile, WindowPane), platform::HelpCommand::DisplayIndex, 0, std::nullopt});
}

void CHelp::ShowSearch(const std::string& NewFile, const std::optional<std::string>& WindowPane)
{
    platform::HelpSearchQuery query;
    query.query = "TEST";
    viewer_.show({helpFileString(NewFile, WindowPane), platform::HelpCommand::DisplaySearch, 0, query});
}

}  // namespace logweave::dialogs
