#include "helpviewer/chm_help_viewer.h"

#include "helpviewer/chm_archive.h"
#include "helpviewer/help_window.h"

#include <QFile>
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
// HH_FTS_QUERY as HtmlHelpA reads it, whatever the build's character set.
struct FtsQueryA {
    int cbStruct;
    BOOL fUniCodeStrings;
    LPCSTR pszSearchQuery;
    LONG iProximity;
    BOOL fStemmedSearch;
    BOOL fTitleOnly;
    BOOL fExecute;
    LPCSTR pszWindow;
};
static_assert(sizeof(FtsQueryA) == sizeof(HH_FTS_QUERY));

void showWithHtmlHelp(const platform::HelpRequest& request)
{
    auto data = static_cast<DWORD_PTR>(static_cast<DWORD>(request.data));
    FtsQueryA query{};
    if (request.command == platform::HelpCommand::DisplaySearch && request.search) {
        const platform::HelpSearchQuery& search = *request.search;
        // The request's size is that of the 32-bit record; the viewer checks the one it is given.
        query.cbStruct = static_cast<int>(sizeof(query));
        query.fUniCodeStrings = search.unicode ? TRUE : FALSE;
        query.pszSearchQuery = search.query.c_str();
        query.iProximity = search.proximity;
        query.fStemmedSearch = search.stemmedSearch ? TRUE : FALSE;
        query.fTitleOnly = search.titleOnly ? TRUE : FALSE;
        query.fExecute = search.execute ? TRUE : FALSE;
        query.pszWindow = search.windowName.empty() ? nullptr : search.windowName.c_str();
        data = reinterpret_cast<DWORD_PTR>(&query);
    }
    HtmlHelpA(nullptr, request.file.c_str(), static_cast<UINT>(request.command), data);
}
#else
struct HelpTarget {
    std::string file;
    std::string windowType;
};

// "file>window": the window type follows the last ">", unless the whole string names a file.
HelpTarget splitRequestFile(const std::string& requested)
{
    const auto mark = requested.rfind('>');
    if (mark == std::string::npos || QFileInfo::exists(QFile::decodeName(requested.c_str())))
        return {requested, {}};
    return {requested.substr(0, mark), requested.substr(mark + 1)};
}
#endif

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
    showWithHtmlHelp(request);
#else
    const HelpTarget target = splitRequestFile(request.file);
    auto archive = ChmArchive::open(target.file);
    if (!archive) {
        QMessageBox::warning(nullptr, QStringLiteral("Aide [Help]"),
                             QStringLiteral("Fichier d'aide introuvable ou illisible [Help file missing or unreadable] : %1")
                                 .arg(QFile::decodeName(target.file.c_str())));
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
#endif
}

}  // namespace logweave::helpviewer
