// The About box: the program's title, version, copyright, author line and publication date, taken from a version
// block, with fixed texts for entries that are missing.
#pragma once

#include <QDialog>

#include <memory>

class TVerInfoObj;

namespace Ui {
class AboutForm;
}

class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    // From the running program's own version information.
    explicit TAboutForm(QWidget* owner);
    TAboutForm(const TVerInfoObj& info, QWidget* owner);
    ~TAboutForm() override;

private:
    void FormCreate(const TVerInfoObj& info);
    void showPicture();

    std::unique_ptr<Ui::AboutForm> ui;
};
