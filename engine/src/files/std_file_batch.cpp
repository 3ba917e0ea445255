#include "files/std_file_batch.h"

#include <fcntl.h>
#include <memory>

namespace logweave {
namespace fs = std::filesystem;

namespace {

// Holds the file without reading it, and so without acting on whatever it is.
#ifdef O_PATH
constexpr int kHold = O_PATH | O_CLOEXEC;
#else
constexpr int kHold = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
#endif

}  // namespace

StdFileBatch::StdFileBatch(const SystemCalls& calls, BackgroundWork& freeing, const std::vector<fs::path>& targets)
    : calls_(calls), freeing_(freeing), targets_(targets)
{
    for (const auto& target : targets_) {
        files_.push_back(std::make_unique<TemporaryFile>(calls_, target, FileError::Action::Write));
        // A file replaced before may still be being freed.
        files_.back()->whenFull([&freeing] { return freeing.wait(); });
    }
}

void StdFileBatch::commit()
{
    const mode_t mode = defaultFileMode(calls_);
    for (const auto& file : files_)
        file->finish({mode, false});
    std::vector<Earlier> earlier = keepEarlier();
    std::size_t renamed = 0;
    try {
        for (; renamed < files_.size(); ++renamed)
            files_[renamed]->renameOver(targets_[renamed]);
    } catch (const FileError&) {
        putBack(earlier, renamed);
        throw;
    }
    dropLinks(earlier);
    freeLater(earlier);
}

std::vector<StdFileBatch::Earlier> StdFileBatch::keepEarlier()
{
    std::vector<Earlier> earlier(targets_.size());
    try {
        for (std::size_t i = 0; i < targets_.size(); ++i) {
            struct stat info {};
            earlier[i].existed = calls_.stat(targets_[i].c_str(), &info) == 0;
            if (!earlier[i].existed)
                continue;
            const fs::path link = files_[i]->path().string() + "-earlier";
            if (calls_.link(targets_[i].c_str(), link.c_str()) == 0) {
                earlier[i].link = link;
                earlier[i].held = openFile(calls_, link.c_str(), kHold);  // else freed as its link goes
                continue;
            }
            earlier[i].copy = std::make_unique<TemporaryFile>(calls_, targets_[i], FileError::Action::Write);
            earlier[i].copy->copyFrom(targets_[i], FileError::Action::Read);
            earlier[i].copy->finish({static_cast<mode_t>(info.st_mode & 07777), false});
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
            calls_.rename(e.link.c_str(), targets_[i].c_str());
        else if (e.copy)
            try {
                e.copy->renameOver(targets_[i]);
            } catch (const FileError&) {
            }
        else if (!e.existed)
            calls_.unlink(targets_[i].c_str());
    }
    dropLinks(earlier);
}

void StdFileBatch::dropLinks(const std::vector<Earlier>& earlier)
{
    for (const Earlier& e : earlier)
        if (!e.link.empty())
            calls_.unlink(e.link.c_str());
}

// The last descriptor of a file without a name frees its blocks as it
// closes: 80-160 ms for a log of a million records, which the work that
// follows need not wait for.
void StdFileBatch::freeLater(std::vector<Earlier>& earlier)
{
    auto held = std::make_shared<std::vector<FileDescriptor>>();
    for (Earlier& e : earlier)
        if (e.held)
            held->push_back(std::move(e.held));
    if (!held->empty())
        freeing_.start([held] { held->clear(); });
}

}  // namespace logweave
