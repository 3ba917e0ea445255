#include "logweave/automation_config.h"

#include "logweave/text.h"

#include <algorithm>
#include <string>


namespace logweave {
namespace {

constexpr std::string_view kFileName = "Logweave.cfg";
constexpr std::string_view kAction = "Action = WSJT-X Log update";
constexpr std::string_view kToUpdate = "FicToUpdate =";
constexpr std::string_view kToMerge = "FicToMerge =";
constexpr std::string_view kMatch = "Match =";
constexpr std::string_view kWindow = "window ";

// "window 30": the window rule and its minutes; anything else leaves `match` as it was.
void readMatch(std::string_view value, ContactMatch& match)
{
    if (!value.starts_with(kWindow))
        return;
    if (const auto minutes = windowMinutes(value.substr(kWindow.size())))
        match = {ContactRule::Window, *minutes};
}

// Every CR, alone or before an LF, an LF.
std::string withLfOnly(std::string_view text)
{
    std::string lines(text);
    std::replace(lines.begin(), lines.end(), '\r', '\n');
    return lines;
}

}  // namespace

AutomationPaths parseAutomationFile(std::string_view text, AutomationPaths paths)
{
    // A CR of its own ends a line too, as an older editor writes one: no path
    // holds a line break, and none could be found with one.
    const std::string lines = withLfOnly(text);
    forEachLine(lines, [&paths](std::string_view line) {
        if (line.starts_with('\''))
            return true;
        // Any other action ends the reading: what was taken before it stands.
        if (line.starts_with("Action") && line != kAction)
            return false;
        if (line.starts_with(kToUpdate))
            paths.logToUpdate = trimSpaces(line.substr(kToUpdate.size()));
        else if (line.starts_with(kToMerge))
            paths.logToMerge = trimSpaces(line.substr(kToMerge.size()));
        else if (line.starts_with(kMatch))
            readMatch(trimSpaces(line.substr(kMatch.size())), paths.sameContact);
        return true;
    });
    return paths;
}

std::optional<AutomationPaths> readAutomationFile(FileSystem& files, const std::filesystem::path& programFolder,
                                                  AutomationPaths paths)
{
    const auto path = programFolder / kFileName;
    if (!files.isRegularFile(path))
        return std::nullopt;
    try {
        return parseAutomationFile(files.readFile(path).view(), std::move(paths));
    } catch (const FileError&) {
        return std::nullopt;  // a file that cannot be read counts as absent
    }
}

std::filesystem::path saveAutomationFile(FileSystem& files, const std::filesystem::path& programFolder,
                                         std::string_view toUpdate, std::string_view toMerge,
                                         const ContactMatch& sameContact)
{
    std::string text = "'Fichier de configuration de Logweave [Logweave file configuration]\r\n";
    text += kAction;
    text += "\r\nFicToUpdate = ";
    text += toUpdate;
    text += "\r\nFicToMerge = ";
    text += toMerge;
    text += "\r\n";
    if (sameContact.rule == ContactRule::Window)
        text.append(kMatch).append(" ").append(kWindow).append(std::to_string(sameContact.minutes)).append("\r\n");
    const auto path = programFolder / kFileName;
    files.writeFile(path, text);
    return path;
}

}  // namespace logweave
