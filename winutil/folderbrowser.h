// The folder browser: a directory dialog that accepts real folders only and shows the current choice, shortened to
// the dialog's width, in a status line under the view.
#pragma once

#include <QFileDialog>

#include <string>

class QLabel;
class QPushButton;

class FolderBrowser : public QFileDialog
{
    Q_OBJECT

public:
    FolderBrowser(QWidget* owner, const QString& initialFolder, const QString& title);

    // A typed name that is no folder keeps the dialog open, says so in the status line and beeps.
    void accept() override;

private:
    void showChoice(const QString& path);
    QPushButton* okButton() const;

    QLabel* status_;
};

// Asks for a folder, starting at initialFolder. On OK sets chosen to the folder, as the file system spells its name,
// with a trailing `/` and returns true; on cancel returns false and leaves chosen as it was.
bool BrowseForFolder(QWidget* owner, const std::string& initialFolder, const QString& title, std::string& chosen);

// The folder the browser opens at: the initial folder without its trailing `/`, except for the root itself; the
// user's home folder when there is none.
QString browserStartFolder(const QString& initialFolder);
