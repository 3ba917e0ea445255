#pragma once
// Paths cross from the windows to the engine as UTF-8 bytes, on every system,
// which is how the engine reads them.

#include <QString>

#include <string>
#include <string_view>

namespace logweave::platform {

inline std::string pathBytes(const QString& path)
{
    return path.toUtf8().toStdString();
}

inline QString pathText(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace logweave::platform
