#include "helpviewer/chm_archive.h"

#include <QString>

#include <chm_lib.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <cctype>

namespace logweave::helpviewer {
namespace {

int collectFile(chmFile*, chmUnitInfo* unit, void* context)
{
    const std::string_view path(unit->path);
    // System files start "/#" or "/$"; folders end with "/".
    if (path.size() > 1 && path[0] == '/' && path[1] != '#' && path[1] != '$' && path.back() != '/')
        static_cast<std::vector<std::string>*>(context)->emplace_back(path);
    return CHM_ENUMERATOR_CONTINUE;
}

int lowered(char c) noexcept
{
    return std::tolower(static_cast<unsigned char>(c));
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return lowered(x) == lowered(y); });
}

bool holds(chmFile* file, const std::string& object)
{
    chmUnitInfo unit{};
    return chm_resolve_object(file, object.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
}

// chmlib opens files by narrow names, which Windows reads in its code page:
// there the UTF-8 name goes by its short form, all in ASCII, where the file
// system keeps one.
std::string systemName(const std::string& utf8)
{
#ifdef _WIN32
    const std::wstring wide = QString::fromStdString(utf8).toStdWString();
    std::wstring shortName(MAX_PATH, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    if (length == 0 || length >= shortName.size())
        return utf8;
    shortName.resize(length);
    return QString::fromStdWString(shortName).toStdString();
#else
    return utf8;
#endif
}

}  // namespace

bool endsWithIgnoringCase(std::string_view path, std::string_view suffix) noexcept
{
    return path.size() >= suffix.size()
        && std::equal(suffix.begin(), suffix.end(), path.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char s, char p) { return s == lowered(p); });
}

std::unique_ptr<ChmArchive> ChmArchive::open(const std::string& path)
{
    chmFile* file = chm_open(systemName(path).c_str());
    if (file == nullptr)
        return nullptr;
    return std::unique_ptr<ChmArchive>(new ChmArchive(file, path));
}

ChmArchive::ChmArchive(chmFile* file, std::string path) : file_(file), path_(std::move(path))
{
    system_ = parseSystemFile(read("/#SYSTEM").value_or(std::string{}));
    const std::string strings = read("/#STRINGS").value_or(std::string{});
    if (const auto windows = read("/#WINDOWS"))
        windowTypes_ = parseWindowTypes(*windows, strings);
    if (const auto ivb = read("/#IVB"))
        contextIds_ = parseContextIds(*ivb, strings);
}

ChmArchive::~ChmArchive()
{
    chm_close(file_);
}

std::optional<std::string> ChmArchive::read(std::string_view object) const
{
    chmUnitInfo unit{};
    if (chm_resolve_object(file_, std::string(object).c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    std::string content(static_cast<std::size_t>(unit.length), '\0');
    if (content.empty())
        return content;
    const LONGINT64 got = chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(content.data()), 0,
                                              static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length))
        return std::nullopt;
    return content;
}

std::vector<std::string> ChmArchive::files() const
{
    std::vector<std::string> paths;
    chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectFile, &paths);
    return paths;
}

std::optional<std::string> ChmArchive::contextPage(std::int32_t context) const
{
    const auto found = contextIds_.find(context);
    if (found == contextIds_.end())
        return std::nullopt;
    std::string name = found->second;
    std::replace(name.begin(), name.end(), '\\', '/');
    const std::size_t mark = std::min(name.find('#'), name.size());
    const std::string place = name.substr(mark);
    // Compilers record the page as the project names it, some with the project's
    // folder in front: the longest tail that names an object of the file is the page.
    for (std::string_view rest = std::string_view(name).substr(0, mark); !rest.empty();) {
        const std::string candidate = "/" + std::string(rest);
        if (holds(file_, candidate))
            return candidate + place;
        const std::size_t slash = rest.find('/');
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
    }
    return std::nullopt;
}

const ChmWindowType* ChmArchive::windowType(std::string_view name) const
{
    // A caller's "w1" finds the file's "W1".
    const auto found = std::find_if(windowTypes_.begin(), windowTypes_.end(),
                                    [name](const ChmWindowType& type) { return sameName(type.name, name); });
    return found == windowTypes_.end() ? nullptr : &*found;
}

}  // namespace logweave::helpviewer
