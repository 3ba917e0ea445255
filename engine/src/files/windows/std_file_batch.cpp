#include "files/windows/std_file_batch.h"

#include "files/windows/file_handle.h"
#include "files/windows/windows_error.h"

#include <windows.h>

namespace logweave {
namespace fs = std::filesystem;

StdFileBatch::StdFileBatch(const SystemCalls& calls, const std::vector<fs::path>& targets)
    : calls_(calls), targets_(targets)
{
    for (const auto& target : targets_)
        files_.push_back(std::make_unique<TemporaryFile>(calls_, target, FileError::Action::Write));
}

void StdFileBatch::commit()
{
    for (const auto& file : files_)
        file->finish(false);
    waitUntilReplaceable();
    std::vector<Earlier> earlier = keepEarlier();
    std::size_t renamed = 0;
    try {
        // Held again since the look: waited for a while, then named.
        for (; renamed < files_.size(); ++renamed)
            if (!files_[renamed]->replace(targets_[renamed]))
                files_[renamed]->fail(heldOpenError());
    } catch (const FileError&) {
        putBack(earlier, renamed);
        throw;
    }
    dropLinks(earlier);
}

void StdFileBatch::waitUntilReplaceable()
{
    // A target another program holds without sharing its removal cannot be
    // replaced, nor could a second name given to it be removed again: it is
    // waited for, then named, before any target is touched.
    for (const auto& target : targets_) {
        const FileHandle probe = openFile(calls_, target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          OPEN_EXISTING);
        if (!probe && isSharingError(GetLastError()))
            throw FileError(FileError::Action::Write, target, heldOpenError());
    }
}

std::vector<StdFileBatch::Earlier> StdFileBatch::keepEarlier()
{
    std::vector<Earlier> earlier(targets_.size());
    try {
        for (std::size_t i = 0; i < targets_.size(); ++i) {
            earlier[i].existed = calls_.fileAttributes(targets_[i].c_str()) != INVALID_FILE_ATTRIBUTES;
            if (!earlier[i].existed)
                continue;
            const fs::path link = besideName(targets_[i], L"-earlier");
            if (calls_.createHardLink(link.c_str(), targets_[i].c_str())) {
                earlier[i].link = link;
                continue;
            }
            earlier[i].copy = std::make_unique<TemporaryFile>(calls_, targets_[i], FileError::Action::Write);
            earlier[i].copy->copyFrom(targets_[i], FileError::Action::Read);
            earlier[i].copy->finish(false);
        }
    } catch (...) {
        // The copies go with `earlier`; the links would stay as files of their own.
        dropLinks(earlier);
        throw;
    }
    return earlier;
}

void StdFileBatch::putBack(std::vector<Earlier>& earlier, std::size_t renamed)
{
    // The best that can be done: the failure that led here is the one reported.
    for (std::size_t i = 0; i < renamed; ++i) {
        Earlier& e = earlier[i];
        if (!e.link.empty())
            calls_.moveFile(e.link.c_str(), targets_[i].c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        else if (e.copy)
            try {
                e.copy->replace(targets_[i]);
            } catch (const FileError&) {
            }
        else if (!e.existed)
            calls_.deleteFile(targets_[i].c_str());
    }
    dropLinks(earlier);
}

void StdFileBatch::dropLinks(const std::vector<Earlier>& earlier)
{
    for (const Earlier& e : earlier)
        if (!e.link.empty())
            calls_.deleteFile(e.link.c_str());
}

}  // namespace logweave
