// The About box: the program's title and version, copyright and licence, taken from a version block, with the
// project's own texts for entries that are missing.
#pragma once

#include "winutil/projectnotice.h"

#include <QDialog>
#include <QString>

#include <memory>

class VersionInfo;

namespace Ui {
class AboutForm;
}

class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    // From the running program's own version information.
    explicit AboutDialog(QWidget* owner);
    // `licenceFile` is where the licence's text may be installed; it is named only where it is.
    AboutDialog(const VersionInfo& info, QWidget* owner, const QString& licenceFile = projectnotice::kLicenceFile);
    ~AboutDialog() override;

private:
    void FormCreate(const VersionInfo& info, const QString& licenceFile);
    void showPicture();

    std::unique_ptr<Ui::AboutForm> ui;
};
