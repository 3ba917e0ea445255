#include "platform/settings.h"

#include "platform/path_text.h"

#include <QDir>
#include <QSettings>

namespace logweave::platform {
namespace {

// Words, not numbers, so that the file reads as what it says.
constexpr const char* kHeaderSources[] = {"added", "open", "program"};
constexpr const char* kExact = "exact";
constexpr const char* kWindow = "window";

HeaderSource headerSourceNamed(const QString& name)
{
    for (std::size_t i = 0; i < std::size(kHeaderSources); ++i)
        if (name == QLatin1String(kHeaderSources[i]))
            return static_cast<HeaderSource>(i);
    return OutputOptions{}.headerSource;
}

}  // namespace

QString QtSettings::file() const
{
    return QDir(folders_.programFolder()).filePath(QStringLiteral("Logweave.ini"));
}

OutputOptions QtSettings::outputOptions() const
{
    const QSettings saved(file(), QSettings::IniFormat);
    OutputOptions options;
    options.fieldOrderFile =
        pathBytes(saved.value("options/fieldOrderFile", pathText(options.fieldOrderFile)).toString());
    options.upperCaseNames = saved.value("options/upperCaseNames", options.upperCaseNames).toBool();
    options.doubleSpacing = saved.value("options/doubleSpacing", options.doubleSpacing).toBool();
    options.headerSource = headerSourceNamed(saved.value("options/header").toString());
    if (saved.value("options/sameContact").toString() == QLatin1String(kWindow)) {
        const auto minutes = windowMinutes(saved.value("options/windowMinutes").toString().toStdString());
        options.sameContact = {ContactRule::Window, minutes.value_or(options.sameContact.minutes)};
    }
    return options;
}

void QtSettings::saveOutputOptions(const OutputOptions& options)
{
    QSettings saved(file(), QSettings::IniFormat);
    saved.setValue("options/fieldOrderFile", pathText(options.fieldOrderFile));
    saved.setValue("options/upperCaseNames", options.upperCaseNames);
    saved.setValue("options/doubleSpacing", options.doubleSpacing);
    saved.setValue("options/header", kHeaderSources[static_cast<std::size_t>(options.headerSource)]);
    const bool window = options.sameContact.rule == ContactRule::Window;
    saved.setValue("options/sameContact", window ? kWindow : kExact);
    saved.setValue("options/windowMinutes", options.sameContact.minutes);
}

QStringList QtSettings::recentLogs() const
{
    return QSettings(file(), QSettings::IniFormat).value("files/recentLogs").toStringList();
}

void QtSettings::saveRecentLogs(const QStringList& logs)
{
    QSettings(file(), QSettings::IniFormat).setValue("files/recentLogs", logs);
}

QString QtSettings::lastFolder(const QString& role) const
{
    return QSettings(file(), QSettings::IniFormat).value(QStringLiteral("folders/") + role).toString();
}

void QtSettings::saveLastFolder(const QString& role, const QString& folder)
{
    QSettings(file(), QSettings::IniFormat).setValue(QStringLiteral("folders/") + role, folder);
}

QByteArray QtSettings::windowGeometry(const QString& window) const
{
    return QSettings(file(), QSettings::IniFormat).value(QStringLiteral("windows/") + window).toByteArray();
}

void QtSettings::saveWindowGeometry(const QString& window, const QByteArray& geometry)
{
    QSettings(file(), QSettings::IniFormat).setValue(QStringLiteral("windows/") + window, geometry);
}

}  // namespace logweave::platform
