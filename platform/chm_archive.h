#pragma once
// Read access to a compiled help file (.chm) through chmlib: its objects by
// path, and what its system files say about showing it.

#include "platform/chm_system_files.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace logweave::platform {

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

private:
    ChmArchive(chmFile* file, std::string path);

    chmFile* file_;
    std::string path_;
    ChmSystemInfo system_;
    std::vector<ChmWindowType> windowTypes_;
};

}  // namespace logweave::platform
