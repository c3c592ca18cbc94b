// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <filesystem>

namespace dorvo {

/// A file name as Qt shows it, from the file system's bytes.
inline QString toQString(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

/// A file name Qt gave back, in the file system's bytes.
inline std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace dorvo
