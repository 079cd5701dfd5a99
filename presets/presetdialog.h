// The preset dialog: configures one of the five presets and stores it in the settings file.
#pragma once

#include "core/panelstate.h"

#include <QDialog>
#include <QIcon>
#include <QList>

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class PresetForm;
}
class QAction;
class QLabel;

class PresetDialog : public QDialog
{
    Q_OBJECT

public:
    // `iniFileName` is the settings file, beside the program; dates are shown and stored in `formats`.
    PresetDialog(std::string iniFileName, DateTimeFormats formats, QWidget* parent = nullptr);
    ~PresetDialog() override;

    // Prepares the dialog for preset n: from its section when configured, else from the panel. False when the
    // stored date lies outside the date picker's range (the range message has been shown); do not show the dialog.
    bool LoadPreset(int n, const PanelState& panel);
    // The name and description entered, after the dialog closed with OK.
    void GetNameAndDesc(QString& name, QString& desc) const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A button group whose pressed button stands for a code of the settings file: the button at position
    // code + offset is pressed; a null entry is the position of "none pressed".
    struct CodedGroup
    {
        int PresetValues::*code;
        int offset;
        std::vector<QAction*> order;
    };

    void FormCreate();
    void FormActivate();
    void aePresetSettingChange();
    void loadImages();
    void bindButtons();
    void bindChecks();
    void connectActions();
    void watchMouse();
    std::vector<CodedGroup> codedGroups() const;
    bool checkStoredDate(const QDate& date) const;
    void showValues(const PresetValues& values);
    PresetValues enteredValues() const;
    void UpdateControls();
    void btnOKClick();
    void acLabelsExecute(const QAction* action);
    void acDateExecute();
    void acTimeExecute();
    void acSeqExecute();
    void acHelpExecute();
    void LabelsClick(QLabel* label);
    void FlyoverMouseMove(QWidget* group, const QPoint& pos);

    std::unique_ptr<Ui::PresetForm> ui;
    int presetIndex = 1;
    std::string iniFileName;
    const DateTimeFormats formats;
    bool firstActivation = true;

    QList<QIcon> ilStates;
    QList<QIcon> ilClock;
};
