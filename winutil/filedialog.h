// The program's file dialogs, with a seam through which a test answers the next dialog without showing it.
#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QFileDialog;
class QWidget;

// Where a dialog opens: the remembered folder, else the user's home folder (not the program's own folder, where Qt
// would start).
QString dialogStartFolder(const QString& remembered);

// The files picked in an open dialog, as the file system spells their names; empty when cancelled. The filter is in
// Qt's notation ("Programs (*.exe)").
std::vector<std::string> openFileNames(QWidget* owner, const QString& title, const QString& filter,
                                       const QString& startFolder);
// The one file picked, as the file system spells its name; empty when cancelled.
std::string openFileName(QWidget* owner, const QString& title, const QString& filter, const QString& startFolder);

// Shows a prepared dialog modally: its selected files when accepted, empty when cancelled. A pending test answer is
// returned instead, without showing the dialog.
QStringList runFileDialog(QFileDialog& dialog);

// The next dialog returns `answer` at once; an empty list answers as a cancel. Used by one dialog only.
void setNextFileDialogAnswer(QStringList answer);
