#pragma once
// Read access to a compiled help file (.chm) through chmlib: its objects by
// path, and what its system files say about showing it.

#include "helpviewer/chm_system_files.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace logweave::helpviewer {

// Whether `path` ends with `suffix` (lower case): paths inside a help file ignore case.
bool endsWithIgnoringCase(std::string_view path, std::string_view suffix) noexcept;

class ChmArchive {
public:
    // None when the file is missing or is not a compiled help file.
    static std::unique_ptr<ChmArchive> open(const std::string& path);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    const std::string& path() const noexcept { return path_; }

    // `object` is a path inside the file, such as "/index.html".
    std::optional<std::string> read(std::string_view object) const;
    // The paths of the ordinary files it holds (not its system files).
    std::vector<std::string> files() const;

    const ChmSystemInfo& system() const noexcept { return system_; }
    const std::vector<ChmWindowType>& windowTypes() const noexcept { return windowTypes_; }
    const ChmWindowType* windowType(std::string_view name) const;
    // The path inside the file of the page a context number is mapped to, if any.
    std::optional<std::string> contextPage(std::int32_t context) const;

private:
    ChmArchive(chmFile* file, std::string path);

    chmFile* file_;
    std::string path_;
    ChmSystemInfo system_;
    std::vector<ChmWindowType> windowTypes_;
    std::map<std::int32_t, std::string> contextIds_;
};

}  // namespace logweave::helpviewer
