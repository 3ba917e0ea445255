#pragma once
// The activity pane's texts that more than one operation writes. Each is one
// paragraph, French then English in brackets, ended by CR LF CR LF.

#include "logweave/file_system.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace logweave::pane {

std::string paragraph(std::string_view text);
std::string fileError(const FileError& error);
std::string fieldLimit(std::string_view name);
std::string recordLimit();
std::string recordCutShort(int record, std::string_view identification);
std::string textNotRead(std::string_view excerpt);
// Conflicts settled without a question, each field with its count.
std::string sameChoices(const std::vector<std::pair<std::string, long long>>& settled);

}  // namespace logweave::pane
