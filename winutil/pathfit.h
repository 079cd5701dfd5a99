// Shortening a path from the left, folder by folder, until it fits a width.
#pragma once

#include <QString>

class QFontMetrics;

// The path, shortened from the left one folder at a time ("/.../doc/Report.txt", then ".../Report.txt", then
// "Report.txt") until it is at most maxWidth pixels wide or nothing more can be removed.
QString FitPathToWidth(const QString& path, const QFontMetrics& metrics, int maxWidth);
// One shortening step of a folder part ending in `/`: its first folder becomes the ".../" marker.
void DropFirstFolder(QString& folder);
