#pragma once
// The contact list "Logweave.log": one line a contact, 13 comma-separated
// columns, as the WSJT-X program's text log has them.

#include "logweave/record.h"
#include "logweave/standard_fields.h"

#include <span>
#include <string>

namespace logweave {

void writeContactLine(std::string& out, const StandardFields& idx, std::span<const FieldText> fields);
void writeContactLine(std::string& out, const StandardFields& idx, const Record& record);

}  // namespace logweave
