#pragma once
// Settings in tests: kept in memory, for as long as the test keeps them.

#include "platform/settings.h"

#include <QMap>

namespace logweave::testing {

class FakeSettings final : public platform::Settings {
public:
    OutputOptions outputOptions() const override { return saved; }
    void saveOutputOptions(const OutputOptions& options) override { saved = options; }
    QStringList recentLogs() const override { return recent; }
    void saveRecentLogs(const QStringList& logs) override { recent = logs; }
    QString lastFolder(const QString& role) const override { return folders.value(role); }
    void saveLastFolder(const QString& role, const QString& folder) override { folders[role] = folder; }
    QByteArray windowGeometry(const QString& window) const override { return geometries.value(window); }
    void saveWindowGeometry(const QString& window, const QByteArray& geometry) override { geometries[window] = geometry; }

    OutputOptions saved;
    QStringList recent;
    QMap<QString, QString> folders;
    QMap<QString, QByteArray> geometries;
};

}  // namespace logweave::testing
