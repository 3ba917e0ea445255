#include "logweave/load_output_options.h"

#include "logweave/load_field_order.h"

namespace logweave {

void reviewOutputOptions(Session& session)
{
    session.ui.showOptionsDialog();
    applyOutputOptions(session, session.ui.outputOptions());
}

void applyOutputOptions(Session& session, const OutputOptions& options)
{
    LogStore& store = session.store;
    if (!options.fieldOrderFile.empty())
        loadFieldOrder(session, options.fieldOrderFile);
    store.EorTag = options.upperCaseNames ? "<EOR>" : "<eor>";
    store.EohTag = options.upperCaseNames ? "<EOH>" : "<eoh>";
    store.LineSpacer = options.doubleSpacing ? "\r\n" : "";
    // Kept from an earlier Open when another header is chosen now.
    if (options.headerSource == HeaderSource::Program)
        store.ProgramHeader = "Logweave " + store.EohTag;
}

}  // namespace logweave
