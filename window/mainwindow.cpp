// The main window as a frame: creation, first activation, destruction, status text, busy state, Help/About/Exit.
#include "window/mainwindow.h"

#include "ui_mainform.h"

#include "core/errorbox.h"
#include "core/inifile.h"
#include "core/presets.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "presets/presetdialog.h"
#include "window/filelistmodel.h"
#include "window/stopwatcher.h"
#include "winutil/aboutdialog.h"
#include "winutil/helppage.h"
#include "winutil/qtdatetime.h"
#include "winutil/windowplacement.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QStatusTipEvent>

#include <algorithm>

namespace {

// The folder of the program, without a trailing `/`.
std::string programFolder()
{
    return QCoreApplication::applicationDirPath().toStdString();
}

} // namespace

MainWindow::MainWindow(std::string iniFile, DateTimeFormats dateTimeFormats, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainForm>()), files(new FileListModel(dateTimeFormats, this)),
      iniFileName(std::move(iniFile)), formats(std::move(dateTimeFormats))
{
    ui->setupUi(this);
    ui->lvMain->setModel(files);
    FormCreate();
}

MainWindow::~MainWindow() = default;

void MainWindow::FormCreate()
{
    busy = false;
    firstActivation = true;
    panelDesign = DesignGeometry(*ui->pnlControl);
    followPanelWidth();
    seqStep = 60;

    ui->DTDateMod->setDisplayFormat(qtPickerFormat(formats.PickerDateFormat));
    ui->DTTimeMod->setDisplayFormat(qtPickerFormat(formats.PickerTimeFormat));
    for (QCheckBox* box : {ui->cbSeq, ui->cbDatex, ui->cbTimex})
        box->setText({});

    loadImages();
    bindButtons();
    connectActions();
    connectListActions();
    connectPanelActions();
    fillPresetTable();
    RestoreFormPlacement(iniFileName, *this, true);
    prepareConfiguredPresets();
    readSettings();
    presetForm = new PresetDialog(iniFileName, formats, this);
    updateActions();
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &MainWindow::updateActions);
    watchInterruption();
}

void MainWindow::readSettings()
{
    const IniFile ini(iniFileName);
    PanelState panel = PanelState::fromSettings(formats, ini, dateTimeToSerial(QDateTime::currentDateTime()));
    // A stored date the picker cannot show starts as the nearest one it can, without a word.
    const QDate shown = serialToDate(*panel.date);
    panel.date = dateToSerial(std::clamp(shown.isValid() ? shown : ui->DTDateMod->minimumDate(),
                                         ui->DTDateMod->minimumDate(), ui->DTDateMod->maximumDate()));
    showPanelState(panel);
    matchFolder = ini.readString("Settings", "WasFolder", programFolder());

    std::string location = ini.readString("Location", "Location", withTrailingSlash(programFolder()));
    if (location.empty())
        location = programFolder();
    selectFolder = QString::fromStdString(withTrailingSlash(location));
}

void MainWindow::FormActivate()
{
    if (!firstActivation)
        return;
    show();
    aeMainSettingChange();
    ui->lvMain->setAcceptDrops(true);
    ui->DTDateMod->setAcceptDrops(true);
    ui->DTTimeMod->setAcceptDrops(true);
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
    ui->lvMain->setAcceptDrops(false);
    ui->DTDateMod->setAcceptDrops(false);
    ui->DTTimeMod->setAcceptDrops(false);
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
        currentPanelState().writeSettings(formats, ini);
        ini.writeString("Location", "Location", selectFolder.toStdString());
        ini.writeString("Settings", "WasFolder", matchFolder);
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
    const QString text = !currentHint.isEmpty() || (presetForm && presetForm->isVisible())
                             ? " " + currentHint
                             : QString(" %1 files, %2 selected.").arg(files->rowCount()).arg(selectedCount());
    statusBar()->showMessage(text);
}

int MainWindow::selectedCount() const
{
    int count = 0;
    for (const QItemSelectionRange& range : ui->lvMain->selectionModel()->selection())
        count += range.height();
    return count;
}

void MainWindow::SetBusy(bool value)
{
    busy = value;
    updateActions();
    // Repaint during long operations; user input waits until the operation is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

MainWindow::BusyGuard::BusyGuard(MainWindow& form) : form(form)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    form.SetBusy(true);
}

MainWindow::BusyGuard::~BusyGuard()
{
    QApplication::restoreOverrideCursor();
    form.SetBusy(false);
    form.aeMainHint();
    // After the code that made the window busy has finished, not inside it.
    if (!form.waitingWork.empty())
        QMetaObject::invokeMethod(&form, &MainWindow::runWaitingWork, Qt::QueuedConnection);
}

void MainWindow::whenIdle(std::function<void()> work)
{
    if (busy)
        waitingWork.push_back(std::move(work));
    else
        work();
}

void MainWindow::runWaitingWork()
{
    // Work that makes the window busy again queues what arrives meanwhile behind what is still waiting.
    while (!busy && !waitingWork.empty()) {
        const std::function<void()> work = std::move(waitingWork.front());
        waitingWork.erase(waitingWork.begin());
        work();
    }
}

void MainWindow::updateActions()
{
    acRemoveUpdate();
    acItemDownUpdate();
    acApplyUpdate();
    acUndoTouchUpdate();
    panelUpdate();
    UpdateDateTimeControls();
    presetsUpdate();
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

void MainWindow::acExitExecute()
{
    close();
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
    if (busy)
        return;
    acExitExecute();
}

void MainWindow::connectActions()
{
    // Shortcuts of actions work only for actions added to a widget of the window.
    addActions(findChildren<QAction*>());
    connect(ui->acHelp, &QAction::triggered, this, &MainWindow::acHelpExecute);
    connect(ui->acAbout, &QAction::triggered, this, &MainWindow::acAboutExecute);
    connect(ui->acExit, &QAction::triggered, this, &MainWindow::acExitExecute);
    // Push buttons take no action of their own: each carries its action's hints and runs it.
    for (const auto& [button, action] : {std::pair{ui->btnHelp, ui->acHelp}, std::pair{ui->btnAbout, ui->acAbout},
                                         std::pair{ui->btnExit, ui->acExit}}) {
        button->setToolTip(action->toolTip());
        button->setStatusTip(action->statusTip());
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
    }
}
