#pragma once
// Files written together: each into a temporary file beside its target, all
// renamed into place at the commit, or none.

#include "files/windows/temporary_file.h"
#include "logweave/file_system.h"

#include <memory>
#include <vector>

namespace logweave {

class StdFileBatch final : public FileBatch {
public:
    StdFileBatch(const SystemCalls& calls, const std::vector<std::filesystem::path>& targets);

    FileWriter& file(std::size_t index) override { return *files_.at(index); }
    void commit() override;

private:
    // A target about to be replaced, still reachable under a second name
    // until every rename has succeeded, so that a failure can put it back.
    struct Earlier {
        bool existed = false;
        std::filesystem::path link;
        std::unique_ptr<TemporaryFile> copy;  // where the file system has no hard links
    };
    void waitUntilReplaceable();
    std::vector<Earlier> keepEarlier();
    void putBack(std::vector<Earlier>& earlier, std::size_t renamed);
    void dropLinks(const std::vector<Earlier>& earlier);

    const SystemCalls& calls_;
    std::vector<std::filesystem::path> targets_;
    std::vector<std::unique_ptr<TemporaryFile>> files_;
};

}  // namespace logweave
