#pragma once
// The open log read, and the added log merged, from files already open: the
// WSJT-X update keeps its files open from their reading to their
// replacement, to take in what another program appends to them meanwhile.

#include "logweave/file_system.h"
#include "logweave/log_store.h"
#include "logweave/operations.h"
#include "logweave/output_options.h"
#include "logweave/session.h"

#include <memory>
#include <optional>
#include <string_view>

namespace logweave {

// Where the text read stopped: a file being appended to may have been read
// in the middle of a contact.
enum class TextEnd { AfterARecord, InARecord };

// As readOpenLog, reading `file`, found at `path`, written in `form`, its
// names entering `fields`; nullopt when it stopped. Given `tidyCopy`, the
// tidy copy and its field names are left there for the caller to put in
// place, else they are put in place at once.
std::optional<TextEnd> readOpenLogFrom(LogStore& store, const Session& session, FileReader& file, std::string_view path,
                                       const OutputForm& form, FieldTable fields,
                                       std::unique_ptr<FileBatch>* tidyCopy = nullptr);

// As mergeAddedLog, merging `file`, found at `path`, written in `form`; nullopt when it stopped.
std::optional<TextEnd> mergeAddedLogFrom(LogStore& store, const Session& session, FileReader& file,
                                         std::string_view path, const OutputForm& form, const ContactMatch& sameContact,
                                         AfterMerge after = AfterMerge::OpenMergedLog);

}  // namespace logweave
