// File names are the file system's bytes, whatever the texts inside games are: they come from
// the file dialogs and go to the screen through the system's own file-name encoding.
#pragma once

#include <string>

#include <QFile>
#include <QString>

namespace tandemora {

inline std::string fileNameBytes(const QString& name) { return QFile::encodeName(name).toStdString(); }

// Also for texts made of a file name and plain ASCII words, such as window titles.
inline QString fileNameText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace tandemora
