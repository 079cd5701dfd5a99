// Keeps a window's position and size across runs in the settings file, in the section "<objectName> Settings".
#pragma once

#include <string>

class IniFile;
class QRect;
class QSize;
class QWidget;

// The stored rectangle is the window's client area in its normal state (QWidget::normalGeometry()), without the
// window manager's frame, whose size differs between desktops and is unknown before the window is first shown.
// Right and Bottom are exclusive (Left + width, Top + height).
//
// Writes Left, Top, Right and Bottom (these two only when resizable), MinX, MinY, MaxX, MaxY, ShowCmd and flags.
// ShowCmd is 1 normal, 2 minimised, 3 maximised. Qt knows no minimised position, so MinX and MinY are -1 (not set);
// MaxX and MaxY are the window's position while it is maximised, else -1. flags is 2 (restore to maximised) for a
// window minimised from the maximised state, else 0. Throws IniWriteError.
void SaveFormPlacement(IniFile& ini, const QWidget& form, bool resizable);

// Centres the form on its screen's available area, then applies Left and Top (and Right and Bottom when resizable;
// otherwise the form keeps its size), each absent key keeping the centred value. The rectangle is not moved onto a
// screen. A stored width or height that is not positive leaves the form's own. The show state is never restored.
// Call before the form is first shown.
void RestoreFormPlacement(const std::string& iniPath, QWidget& form, bool resizable);

// Whether the settings file holds a position or size for the form, which then wins over its first-start size.
bool FormPlacementStored(const std::string& iniPath, const QWidget& form);

// The size the form asks for on a first start, cut to its screen's available area, centred there.
void PlaceAtFirstStart(QWidget& form, const QSize& wanted);

// Tests pretend a screen of their own: the available area every placement keeps to. An empty rectangle gives the
// screen's own back.
void setAvailableAreaOverride(const QRect& area);
