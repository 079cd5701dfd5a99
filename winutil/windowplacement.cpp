#include "winutil/windowplacement.h"

#include "core/inifile.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kNotSet = -1;
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kRestoreToMaximized = 2;

QRect availableAreaOverride;

std::string sectionName(const QWidget& form)
{
    return form.objectName().toStdString() + " Settings";
}

int showCommand(Qt::WindowStates state)
{
    if (state & Qt::WindowMinimized)
        return kShowMinimized;
    return state & Qt::WindowMaximized ? kShowMaximized : kShowNormal;
}

QRect availableArea(const QWidget& form)
{
    if (!availableAreaOverride.isEmpty())
        return availableAreaOverride;
    const QScreen* screen = form.screen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect centredOn(const QRect& workArea, const QSize& size)
{
    return {QPoint(workArea.left() + (workArea.width() - size.width()) / 2,
                   workArea.top() + (workArea.height() - size.height()) / 2),
            size};
}

// The distance from low to high, or the fallback when it is not positive.
int storedExtent(int low, int high, int fallback)
{
    const qint64 extent = qint64{high} - low;
    return extent > 0 ? static_cast<int>(std::min<qint64>(extent, QWIDGETSIZE_MAX)) : fallback;
}

} // namespace

void SaveFormPlacement(IniFile& ini, const QWidget& form, bool resizable)
{
    const QRect normal = form.normalGeometry();
    const Qt::WindowStates state = form.windowState();
    const bool maximized = (state & Qt::WindowMaximized) && !(state & Qt::WindowMinimized);
    const std::string section = sectionName(form);
    ini.writeInteger(section, "Left", normal.left());
    ini.writeInteger(section, "Top", normal.top());
    if (resizable) {
        ini.writeInteger(section, "Right", normal.left() + normal.width());
        ini.writeInteger(section, "Bottom", normal.top() + normal.height());
    }
    ini.writeInteger(section, "MinX", kNotSet);
    ini.writeInteger(section, "MinY", kNotSet);
    ini.writeInteger(section, "MaxX", maximized ? form.x() : kNotSet);
    ini.writeInteger(section, "MaxY", maximized ? form.y() : kNotSet);
    ini.writeInteger(section, "ShowCmd", showCommand(state));
    const bool restoreToMaximized = (state & Qt::WindowMinimized) && (state & Qt::WindowMaximized);
    ini.writeInteger(section, "flags", restoreToMaximized ? kRestoreToMaximized : 0);
}

void RestoreFormPlacement(const std::string& iniPath, QWidget& form, bool resizable)
{
    const QSize size = form.size();
    const QRect centred = centredOn(availableArea(form), size);
    const IniFile ini(iniPath);
    const std::string section = sectionName(form);
    const int left = ini.readInteger(section, "Left", centred.left());
    const int top = ini.readInteger(section, "Top", centred.top());
    int width = size.width();
    int height = size.height();
    if (resizable) {
        width = storedExtent(left, ini.readInteger(section, "Right", centred.left() + size.width()), width);
        height = storedExtent(top, ini.readInteger(section, "Bottom", centred.top() + size.height()), height);
    }
    form.setGeometry(left, top, width, height);
}

bool FormPlacementStored(const std::string& iniPath, const QWidget& form)
{
    const IniFile ini(iniPath);
    const std::string section = sectionName(form);
    for (const char* key : {"Left", "Top", "Right", "Bottom"})
        if (ini.readValue(section, key))
            return true;
    return false;
}

void PlaceAtFirstStart(QWidget& form, const QSize& wanted)
{
    const QRect area = availableArea(form);
    if (area.isEmpty()) {
        form.resize(wanted);
        return;
    }
    // The minimum size holds on a screen smaller still; the title bar then stays on the screen.
    const QSize size = wanted.boundedTo(area.size()).expandedTo(form.minimumSize());
    const QRect centred = centredOn(area, size);
    form.setGeometry(std::max(centred.left(), area.left()), std::max(centred.top(), area.top()), size.width(),
                     size.height());
}

void setAvailableAreaOverride(const QRect& area)
{
    availableAreaOverride = area;
}
