#include "logweave/load_output_options.h"

#include "logweave/load_field_order.h"

namespace logweave {

void LoadOutputOptions(Session& session)
{
    session.ui.showOptionsDialog();
    applyOutputOptions(session, session.ui.outputOptions());
}

void applyOutputOptions(Session& session, const OutputOptions& options)
{
    LogStore& store = session.store;
    if (!options.FieldOrderFile.empty())
        LoadFieldOrder(session, options.FieldOrderFile);
    store.EorTag = options.UpperCaseNames ? "<EOR>" : "<eor>";
    store.EohTag = options.UpperCaseNames ? "<EOH>" : "<eoh>";
    store.LineSpacer = options.DoubleSpacing ? "\r\n" : "";
    // Kept from an earlier Open when another header is chosen now.
    if (options.headerSource == HeaderSource::Program)
        store.ProgramHeader = "Logweave " + store.EohTag;
}

}  // namespace logweave
