#pragma once
// Files written together: each into a temporary file beside its target, all
// renamed into place at the commit, or none.

#include "logweave/file_system.h"
#include "background_work.h"
#include "files/file_descriptor.h"
#include "files/temporary_file.h"

#include <memory>
#include <vector>

namespace logweave {

class StdFileBatch final : public FileBatch {
public:
    // The earlier versions of the targets are freed by `freeing`.
    StdFileBatch(const SystemCalls& calls, BackgroundWork& freeing, const std::vector<std::filesystem::path>& targets);

    FileWriter& file(std::size_t index) override { return *files_.at(index); }
    void commit() override;

private:
    // A target about to be replaced, still reachable under a second name
    // until every rename has succeeded, so that a failure can put it back.
    struct Earlier {
        bool existed = false;
        std::filesystem::path link;
        FileDescriptor held;                  // the file itself, once the link is gone
        std::unique_ptr<TemporaryFile> copy;  // where the file system has no hard links
    };
    std::vector<Earlier> keepEarlier();
    void putBack(std::vector<Earlier>& earlier, std::size_t renamed);
    void dropLinks(const std::vector<Earlier>& earlier);
    void freeLater(std::vector<Earlier>& earlier);

    const SystemCalls& calls_;
    BackgroundWork& freeing_;
    std::vector<std::filesystem::path> targets_;
    std::vector<std::unique_ptr<TemporaryFile>> files_;
};

}  // namespace logweave
