// logweave_genlog: writes the benchmark logs into a folder, so that
// whole-process timings read the same bytes as logweave_bench.

#include "log_generator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using namespace logweave::bench;

constexpr const char* kUsage =
    "usage: logweave_genlog [--seed N] [--records N] [--merge-fit N] FOLDER\n"
    "writes shuffled.adi, sorted.adi, field_per_line.adi (N records),\n"
    "merge_a.adi and merge_b.adi (N records each, half of them shared) and\n"
    "merge_fit_a.adi and merge_fit_b.adi (--merge-fit records each);\n"
    "prints one line per file: name, records, bytes, and what the file is for.\n";

int usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

bool write(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "logweave_genlog: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

void describe(const char* name, int records, std::size_t bytes, const std::string& note)
{
    std::printf("%-20s %6d records %9zu bytes %4zu bytes/record  %s\n", name, records, bytes,
                records > 0 ? bytes / static_cast<std::size_t>(records) : 0, note.c_str());
}

bool writePair(const fs::path& folder, const char* a, const char* b, const MergePair& pair)
{
    if (!write(folder / a, pair.open) || !write(folder / b, pair.added))
        return false;
    const std::string note = "shared " + std::to_string(pair.shared) + ", differing " + std::to_string(pair.differing)
        + " (" + std::to_string(pair.differingFields) + " values), merged " + std::to_string(pair.mergedRecords);
    describe(a, pair.recordsEach, pair.open.size(), note);
    describe(b, pair.recordsEach, pair.added.size(), note);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::uint64_t seed = 1;
    int records = 20000;
    int mergeFit = 13332;
    const char* folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--seed" && hasValue)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--records" && hasValue)
            records = std::atoi(argv[++i]);
        else if (a == "--merge-fit" && hasValue)
            mergeFit = std::atoi(argv[++i]);
        else if (!a.starts_with("-") && folder == nullptr)
            folder = argv[i];
        else
            return usage();
    }
    if (folder == nullptr || records <= 0 || mergeFit <= 0)
        return usage();

    std::error_code error;
    fs::create_directories(folder, error);
    const fs::path dir(folder);
    const LogSet set = makeLogSet(seed, records);
    if (!write(dir / "shuffled.adi", set.shuffled) || !write(dir / "sorted.adi", set.sorted)
        || !write(dir / "field_per_line.adi", set.fieldPerLine))
        return 1;
    const std::string matches = "20m FT8: " + std::to_string(set.filterMatches);
    describe("shuffled.adi", records, set.shuffled.size(), matches);
    describe("sorted.adi", records, set.sorted.size(), matches);
    describe("field_per_line.adi", records, set.fieldPerLine.size(), matches);
    if (!writePair(dir, "merge_a.adi", "merge_b.adi", makeMergePair(seed, records))
        || !writePair(dir, "merge_fit_a.adi", "merge_fit_b.adi", makeMergePair(seed, mergeFit)))
        return 1;
    return 0;
}
