// The main window as a frame: its parts wired, first activation, settings, status text, fonts, Help/About/Exit.
#include "window/mainwindow.h"

#include "ui_mainform.h"

#include "core/errorbox.h"
#include "core/inifile.h"
#include "window/busystate.h"
#include "window/filelistmodel.h"
#include "window/filelistpanel.h"
#include "window/presetbar.h"
#include "window/stopwatcher.h"
#include "window/touchpanel.h"
#include "winutil/aboutdialog.h"
#include "winutil/glyphs.h"
#include "winutil/helppage.h"
#include "winutil/qtdatetime.h"
#include "winutil/windowplacement.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QStatusTipEvent>
#include <QToolButton>

MainWindow::MainWindow(std::string iniFile, DateTimeFormats dateTimeFormats, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainForm>()), iniFileName(std::move(iniFile)),
      formats(std::move(dateTimeFormats)), busy(new BusyState(this))
{
    ui->setupUi(this);
    // Shortcuts of actions work only for actions added to a widget of the window; the dialogs keep their own.
    addActions(findChildren<QAction*>());
    LoadGlyphRange(ilAction, 10, 23);
    list = new FileListPanel(*ui, formats, *busy, this);
    panel = new TouchPanel(*ui, formats, *busy, this);
    presets = new PresetBar(iniFileName, formats, *busy, *panel, ilAction, this);
    bindCommandButtons();
    connectActions();
    RestoreFormPlacement(iniFileName, *this, true);
    presets->prepareConfiguredPresets();
    readSettings();
    // Sized by its layout before the window system knows it: a size hint that changes while it is shown is one that
    // some platforms cannot pass on (the offscreen one warns).
    layout()->activate();
    updateActions();
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &MainWindow::updateActions);
    watchInterruption();
}

MainWindow::~MainWindow() = default;

FileListModel& MainWindow::fileList()
{
    return list->model();
}

void MainWindow::AddFile(const std::string& path, EntrySnapshot listed)
{
    list->AddFile(path, std::move(listed));
}

void MainWindow::bindCommandButtons()
{
    const std::pair<QAction*, int> actionImages[] = {
        {ui->acApply, 0}, {ui->acSelect, 1}, {ui->acRemove, 2}, {ui->acClear, 3}, {ui->acUndoTouch, 4},
        {ui->acNow, 5},   {ui->acZerSec, 6}, {ui->acZerMin, 7}, {ui->acReset, 9}, {ui->acClkFmFile, 12},
    };
    for (const auto& [action, image] : actionImages)
        action->setIcon(ilAction.value(image));

    const std::pair<QToolButton*, QAction*> commands[] = {
        {ui->tbSelect, ui->acSelect}, {ui->tbRemove, ui->acRemove},       {ui->tbClear, ui->acClear},
        {ui->tbApply, ui->acApply},   {ui->tbUndo, ui->acUndoTouch},      {ui->tbReset, ui->acReset},
        {ui->tbNow, ui->acNow},       {ui->tbClkFmFile, ui->acClkFmFile}, {ui->tbZerSec, ui->acZerSec},
        {ui->tbZerMin, ui->acZerMin},
    };
    for (const auto& [button, action] : commands)
        button->setDefaultAction(action);
}

void MainWindow::readSettings()
{
    const IniFile ini(iniFileName);
    panel->showStoredState(PanelState::fromSettings(formats, ini, dateTimeToSerial(QDateTime::currentDateTime())));
    list->readSettings(ini);
}

void MainWindow::FormActivate()
{
    if (!firstActivation)
        return;
    show();
    aeMainSettingChange();
    list->acceptDrops(true);
    panel->acceptDrops(true);
    aeMainHint();
    // The program's own command line is handled here, the same way as that of a later start.
    if (ownCommandLine) {
        TakeHandOff(*ownCommandLine);
        ownCommandLine.reset();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    FormDestroy();
    QMainWindow::closeEvent(event);
}

void MainWindow::FormDestroy()
{
    list->acceptDrops(false);
    panel->acceptDrops(false);
    try {
        writeSettings();
    } catch (const IniWriteError& error) {
        // Saved whole or not at all: the settings of the last save stay.
        showErrorBox(error.what());
    }
}

void MainWindow::writeSettings()
{
    IniFile ini(iniFileName);
    ini.writeTogether([&] {
        SaveFormPlacement(ini, *this, true);
        panel->state().writeSettings(formats, ini);
        list->writeSettings(ini);
    });
}

bool MainWindow::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::StatusTip:
        // The hint under the pointer; the status bar shows it in place of the file counts.
        currentHint = static_cast<QStatusTipEvent*>(event)->tip();
        aeMainHint();
        return true;
    // Not every window manager activates a new window: being shown is enough.
    case QEvent::Show:
    case QEvent::WindowActivate:
        FormActivate();
        break;
    case QEvent::ApplicationFontChange:
        aeMainSettingChange();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void MainWindow::aeMainHint()
{
    const QString text =
        !currentHint.isEmpty() || presets->dialogVisible()
            ? " " + currentHint
            : QString(" %1 files, %2 selected.").arg(list->model().rowCount()).arg(list->selectedCount());
    statusBar()->showMessage(text);
}

void MainWindow::aeMainSettingChange()
{
    const bool firstStart = firstActivation && !FormPlacementStored(iniFileName, *this);
    const QFont systemFont = QApplication::font();
    if (systemFont.family() != font().family() || systemFont.pointSizeF() != font().pointSizeF())
        setFont(systemFont);
    else
        firstActivation = false;
    list->followSystemFont();
    if (firstStart) {
        layout()->activate();
        PlaceAtFirstStart(*this, (size() - ui->lvMain->size() + list->firstStartSize()).expandedTo(minimumSize()));
    }
}

void MainWindow::updateActions()
{
    list->updateActions();
    const bool selected = !busy->isBusy() && list->selectedCount() > 0;
    ui->acApply->setEnabled(selected && panel->anyChangeDown());
    ui->acUndoTouch->setEnabled(selected);
    ui->acReset->setEnabled(!busy->isBusy());
    panel->updateActions();
    presets->updateActions();
}

void MainWindow::acHelpExecute()
{
    openHelpPage(0);
}

void MainWindow::acAboutExecute()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::watchInterruption()
{
    connect(&StopWatcher::instance(), &StopWatcher::stopRequested, this, [this] {
        interrupted = true;
        closeIfInterrupted();
    });
    // What cannot close at once closes when the loop next waits: after the run, or after the box.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &MainWindow::closeIfInterrupted);
}

void MainWindow::closeIfInterrupted()
{
    // Hidden, the window has closed already.
    if (!interrupted || !isVisible())
        return;
    // The code that opened the box goes on once it is answered, and a run it starts stops before its first file.
    if (StopWatcher::answerOpenBox())
        return;
    // A run stops at its next file, an adding of files when it is over; then the loop waits and this comes back.
    if (busy->isBusy())
        return;
    close();
}

void MainWindow::connectActions()
{
    connect(ui->acHelp, &QAction::triggered, this, &MainWindow::acHelpExecute);
    connect(ui->acAbout, &QAction::triggered, this, &MainWindow::acAboutExecute);
    connect(ui->acExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->acApply, &QAction::triggered, this, &MainWindow::acApplyExecute);
    connect(ui->acUndoTouch, &QAction::triggered, this, &MainWindow::acUndoTouchExecute);
    connect(ui->acReset, &QAction::triggered, panel, &TouchPanel::reset);
    connect(busy, &BusyState::busyChanged, this, &MainWindow::updateActions);
    connect(busy, &BusyState::operationEnded, this, &MainWindow::aeMainHint);
    connect(list, &FileListPanel::countsChanged, this, &MainWindow::aeMainHint);
    // Push buttons take no action of their own: each carries its action's hints and runs it.
    for (const auto& [button, action] : {std::pair{ui->btnHelp, ui->acHelp}, std::pair{ui->btnAbout, ui->acAbout},
                                         std::pair{ui->btnExit, ui->acExit}}) {
        button->setToolTip(action->toolTip());
        button->setStatusTip(action->statusTip());
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
    }
}
