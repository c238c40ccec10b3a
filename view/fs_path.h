#pragma once
// A file name the user chose, as the standard library opens it: the system's own encoding
// of the name (UTF-16 on Windows); and back.

#include <QFile>
#include <QString>
#include <filesystem>

namespace tervalen::view {

inline std::filesystem::path fsPath(const QString& file) {
#ifdef _WIN32
    return std::filesystem::path(file.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(file).toStdString());
#endif
}

inline QString qPath(const std::filesystem::path& file) {
#ifdef _WIN32
    return QString::fromStdWString(file.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(file.native()));
#endif
}

}  // namespace tervalen::view
