#include "logweave/automation_config.h"
#include "logweave/operations.h"

namespace logweave {

Outcome runSavedUpdate(LogStore& store, const Session& session, const OutputOptions& options,
                       std::optional<ContactMatch> sameContact, std::chrono::system_clock::time_point now)
{
    const auto saved = readAutomationFile(session.files, session.programFolder, {});
    if (!saved || saved->logToUpdate.empty() || saved->logToMerge.empty())
        return Outcome::Done;  // nothing to update, as without the file
    WsjtxUpdate update{bytesFromPath(inProgramFolder(session.programFolder, saved->logToUpdate)),
                       bytesFromPath(inProgramFolder(session.programFolder, saved->logToMerge)), options, now};
    update.options.sameContact = sameContact.value_or(saved->sameContact);
    return updateWsjtxLog(store, session, update);
}

}  // namespace logweave
