#pragma once
// What the engine asks of the file system, behind one interface so that
// tests can make any call fail. Every failure is a FileError naming the file.

#include "logweave/bytes.h"
#include "logweave/file_error.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logweave {

// A file being written: what is written reaches its target only when the
// batch it belongs to is committed.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual void write(std::string_view bytes) = 0;
};

// Files written together, whole or not at all. Dropped without a commit,
// it leaves every target as it was and no temporary file behind.
class FileBatch {
public:
    virtual ~FileBatch() = default;
    virtual FileWriter& file(std::size_t index) = 0;
    // Puts every file in place, or, when one cannot be, puts back every
    // target as it was and throws.
    virtual void commit() = 0;
};

// A file open for reading, read a block at a time, as often as needed.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Up to `size` bytes from where the last read stopped; 0 at the end.
    virtual std::size_t read(char* into, std::size_t size) = 0;
    // As read, but the whole of `size` unless the file ends first, in
    // `pieces` read side by side where the system can.
    virtual std::size_t readInPieces(char* into, std::size_t size, std::size_t pieces);
    // Reads from the first byte again.
    virtual void rewind() = 0;
    // Moves to the end of the file without reading: later reads give what is appended from now on.
    virtual void skipToEnd() = 0;
    // What changes when the file's content changes: its size, its time of
    // change, and which file it is.
    struct Stamp {
        std::uint64_t size = 0;
        std::int64_t changedNanoseconds = 0;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    virtual Stamp stamp() = 0;
    // How far the reading went since the last rewind: the bytes handed out,
    // and the file's stamp when the reading last met its end.
    struct Extent {
        std::uint64_t bytes = 0;
        Stamp atEnd;
    };
    virtual Extent extent() const = 0;
};

enum class BackupResult { Made, EarlierKept };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // A regular file only: a folder, a device or a named pipe is refused at
    // once, with a NotRegularFile error.
    virtual std::unique_ptr<FileReader> openForReading(const std::filesystem::path& path) = 0;
    // The whole file at once, read by up to `threads` side by side.
    Bytes readFile(const std::filesystem::path& path, unsigned threads = 1);

    // Starts writing `targets`, each into a temporary file beside it.
    virtual std::unique_ptr<FileBatch> writeFiles(const std::vector<std::filesystem::path>& targets) = 0;
    // A small file, written at once, whole or not at all.
    void writeFile(const std::filesystem::path& path, std::string_view content);

    // A file of the user's replaced by a copy of `source`: its permissions and
    // owner are kept, a read-only file is refused, and the data reach the disk
    // before the rename.
    virtual void replaceUserFile(const std::filesystem::path& target, const std::filesystem::path& source) = 0;

    // A copy of `source` under `backup`, never over an existing file.
    virtual BackupResult backupFile(const std::filesystem::path& source, const std::filesystem::path& backup) = 0;

    // The file `read` reads, at `source`, kept under a second name `backup`
    // (a copy where the file system has no hard links), never over an
    // existing file: whatever is still appended to it after it is replaced
    // stays in a file the user can find.
    virtual BackupResult keepSecondName(const std::filesystem::path& source, FileReader& read,
                                        const std::filesystem::path& backup) = 0;

    // Waits a while as long as another program keeps the file `read` reads,
    // at `path`, open for writing; throws a FileError of liveFileCategory()
    // when it keeps it.
    virtual void waitForWriters(const std::filesystem::path& path, FileReader& read) = 0;

    // A file another program may append to while this one works on it, as
    // the WSJT-X program does its log: `target`, which `read` read, replaced
    // by a copy of `source`, with everything appended to it since the reading
    // appended to the copy too, before or after the replacement. Throws a
    // FileError of liveFileCategory() when that cannot be done safely: the
    // file was replaced or rewritten since, or another program keeps it open
    // for writing. Returns the bytes taken in.
    virtual std::string replaceAppendedFile(const std::filesystem::path& target, FileReader& read,
                                            const std::filesystem::path& source) = 0;

    virtual void removeFile(const std::filesystem::path& path) = 0;
    // `folder` and those above it that are missing; one that exists is no failure.
    virtual void makeFolders(const std::filesystem::path& folder) = 0;
    virtual bool isRegularFile(const std::filesystem::path& path) = 0;
    // The names of the entries of `folder`; none when it cannot be read.
    virtual std::vector<std::string> fileNames(const std::filesystem::path& folder) = 0;
};

// All that remains to read of `file`, up to its end: `expected`, the size
// the system tells, only sizes the first allocation (files under /proc tell
// 0). `readSoFar` hears the bytes read, a piece at a time. Given more than
// one of `threads`, the pieces are read side by side.
Bytes readAll(FileReader& file, std::size_t expected, unsigned threads = 1,
              const std::function<void(std::size_t)>& readSoFar = {});

// The entry of `folder` named `name` in any letter case, the exact one first.
std::optional<std::filesystem::path> findIgnoringCase(FileSystem& files, const std::filesystem::path& folder,
                                                      std::string_view name);

// The folder `path` is in: "." for a bare file name.
std::filesystem::path folderOf(const std::filesystem::path& path);

// Paths travel through the engine as bytes (they are shown and stored as text).
std::filesystem::path pathFromBytes(std::string_view bytes);
std::string bytesFromPath(const std::filesystem::path& path);

// The program's arguments after its name, as bytes as above. On Windows they
// come from the wide command line: argv there is in the ANSI code page, which
// has no letter for most names.
std::vector<std::string> argumentsAsBytes(int argc, char** argv);

}  // namespace logweave
