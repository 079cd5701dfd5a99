// Paths that Qt hands over as text or as URLs, turned back into the bytes the file system holds, and back.
#pragma once

#include <QStringList>
#include <QUrl>

#include <string>
#include <vector>

// Each path as the file system spells it. Qt shows every byte of a name that is no text as a replacement
// character, so such a name is looked up among its folder's entries, folder by folder; a path that matches no entry
// keeps its plain encoding, so that it is reported as missing by name.
std::vector<std::string> fileSystemPaths(const QStringList& paths);

class QMimeData;

// The files of this machine that a drop carries, as bytes, in the order given; blanks around a path are kept for the
// caller. The URIs are read as the file manager wrote them, escapes undone by hand, so that %FF stays the byte 0xFF.
std::vector<std::string> droppedLocalFiles(const QMimeData& data);
// The URL of a file of this machine whose path is any bytes.
QUrl localFileUrl(const std::string& path);
