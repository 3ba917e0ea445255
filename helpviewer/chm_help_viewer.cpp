#include "helpviewer/chm_help_viewer.h"

#include "helpviewer/chm_archive.h"
#include "helpviewer/help_window.h"

#include <QFileInfo>
#include <QMessageBox>

#ifdef _WIN32
#include <windows.h>
#include <htmlhelp.h>
#endif

#include <string>

namespace logweave::helpviewer {
namespace {

#ifdef _WIN32
// HH_FTS_QUERY as HtmlHelpW reads it, whatever the build's character set.
struct FtsQueryW {
    int cbStruct;
    BOOL fUniCodeStrings;
    LPCWSTR pszSearchQuery;
    LONG iProximity;
    BOOL fStemmedSearch;
    BOOL fTitleOnly;
    BOOL fExecute;
    LPCWSTR pszWindow;
};
static_assert(sizeof(FtsQueryW) == sizeof(HH_FTS_QUERY));

std::wstring wide(const std::string& utf8)
{
    return QString::fromStdString(utf8).toStdWString();
}

using HtmlHelpFunction = HWND(WINAPI*)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

// The system's viewer, looked for when help is first asked for rather than
// linked: a Windows without it still runs the program, with the built-in help.
HtmlHelpFunction systemHtmlHelp()
{
    static const HtmlHelpFunction function = []() -> HtmlHelpFunction {
        const HMODULE library = LoadLibraryW(L"hhctrl.ocx");
        if (library == nullptr)
            return nullptr;
        return reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
    }();
    return function;
}

// False when the system has no HTML Help viewer, or it would not open the
// file: the built-in window shows it then. Names are handed over in UTF-16,
// so that a folder with accents works whatever the system's code page.
bool showWithHtmlHelp(const platform::HelpRequest& request)
{
    const HtmlHelpFunction htmlHelp = systemHtmlHelp();
    if (htmlHelp == nullptr)
        return false;
    const std::wstring file = wide(request.file);
    auto data = static_cast<DWORD_PTR>(static_cast<DWORD>(request.data));
    FtsQueryW query{};
    std::wstring searched;
    std::wstring window;
    if (request.command == platform::HelpCommand::DisplaySearch && request.search) {
        const platform::HelpSearchQuery& search = *request.search;
        searched = wide(search.query);
        window = wide(search.windowName);
        query.cbStruct = static_cast<int>(sizeof(query));
        query.fUniCodeStrings = TRUE;
        query.pszSearchQuery = searched.c_str();
        query.iProximity = search.proximity;
        query.fStemmedSearch = search.stemmedSearch ? TRUE : FALSE;
        query.fTitleOnly = search.titleOnly ? TRUE : FALSE;
        query.fExecute = search.execute ? TRUE : FALSE;
        query.pszWindow = window.empty() ? nullptr : window.c_str();
        data = reinterpret_cast<DWORD_PTR>(&query);
    }
    return htmlHelp(nullptr, file.c_str(), static_cast<UINT>(request.command), data) != nullptr;
}
#endif

struct HelpTarget {
    std::string file;
    std::string windowType;
};

// "file>window": the window type follows the last ">", unless the whole string names a file.
HelpTarget splitRequestFile(const std::string& requested)
{
    const auto mark = requested.rfind('>');
    if (mark == std::string::npos || QFileInfo::exists(QString::fromStdString(requested)))
        return {requested, {}};
    return {requested.substr(0, mark), requested.substr(mark + 1)};
}

}  // namespace

ChmHelpViewer::ChmHelpViewer() = default;
ChmHelpViewer::~ChmHelpViewer() = default;

QWidget* ChmHelpViewer::window() const
{
    return window_.get();
}

void ChmHelpViewer::keepPlaceIn(platform::Settings& settings)
{
    settings_ = &settings;
    if (window_)
        window_->keepPlaceIn(settings);
}

void ChmHelpViewer::show(const platform::HelpRequest& request)
{
#ifdef _WIN32
    if (showWithHtmlHelp(request))
        return;
#endif
    showInOwnWindow(request);
}

void ChmHelpViewer::showInOwnWindow(const platform::HelpRequest& request)
{
    const HelpTarget target = splitRequestFile(request.file);
    auto archive = ChmArchive::open(target.file);
    if (!archive) {
        QMessageBox::warning(nullptr, QStringLiteral("Aide [Help]"),
                             QStringLiteral("Fichier d'aide introuvable ou illisible [Help file missing or unreadable] : %1")
                                 .arg(QString::fromStdString(target.file)));
        return;
    }
    if (!window_) {
        window_ = std::make_unique<HelpWindow>();
        if (settings_ != nullptr)
            window_->keepPlaceIn(*settings_);
    }
    window_->display(std::move(archive), target.windowType, request);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace logweave::helpviewer
