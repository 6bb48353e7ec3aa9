// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

// Creation of whole paths. Existing components, files and directories alike, are left
// untouched; a component that cannot be created is not reported and the walk goes on.
namespace FileManagerExtensions {

// Creates every missing directory along the path, the last component included.
void createDirectoryAtPathRecursive(const QString& path);

// Creates every missing directory along the path and, when the last component is
// missing, a file there with the contents and, if given, the permissions.
void createFileAtPathRecursiveContentsAttributes(const QString& path, const QByteArray& contents,
                                                 std::optional<QFileDevice::Permissions> attributes);

// The same with an empty file and default permissions.
void createFileAtPathRecursive(const QString& path);

} // namespace FileManagerExtensions
