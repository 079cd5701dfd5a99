// Stamps from same-named files of a chosen folder: the comparison, its report, the user's choice and the touch.
#include "gui/windowfixture.h"
#include "window/filelistmodel.h"
#include "window/mainwindow.h"
#include "window/matchreport.h"
#include "winutil/filedialog.h"
#include "winutil/qtmessagebox.h"

#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QTreeView>

#include <cstdio>

namespace {

const QDateTime kListed(QDate(2000, 1, 1), QTime(12, 0, 0));
const QDateTime kPartner(QDate(2001, 2, 3), QTime(4, 5, 6));

} // namespace

class FolderMatchTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void onePartnerPerName_data();
    void onePartnerPerName();
    void allExactShowsNoBox();
    void noAnswerTouchesOnlyExactMatches();
    void allFilesAndCountWordsOpenTheLines();
    void severalAndNoneTouchNothing();
    void twelveWithoutMatch();
    void cancelTouchesNothing();
    void unlistableFolderTouchesNothing();
    void cancelledBrowserKeepsTheLastComparison();
    void shownReportLinesUpItsColumnsAndFitsTheFolder();

private:
    // Lists the files under "list/" and selects them; each has the stamp kListed.
    std::vector<std::string> listFiles(MainWindow& form, const QStringList& names);
    // Creates the partners under "partners/" with the stamp kPartner.
    std::string makePartners(const QStringList& names);
    void applyFromFolder(MainWindow& form, const std::string& chosen);
    int selectedCount(MainWindow& form) { return int(listView(form)->selectionModel()->selectedRows().size()); }
    QTreeView* listView(MainWindow& form) { return form.findChild<QTreeView*>("lvMain"); }
};

std::vector<std::string> FolderMatchTest::listFiles(MainWindow& form, const QStringList& names)
{
    std::vector<std::string> paths;
    for (const QString& name : names) {
        const std::string path = makeFile("list/" + name.toStdString(), kListed);
        form.AddFile(path, listedState(path));
        paths.push_back(path);
    }
    listView(form)->selectAll();
    return paths;
}

std::string FolderMatchTest::makePartners(const QStringList& names)
{
    for (const QString& name : names) {
        const std::string path = folder->makeFile("partners/" + name.toStdString(), "partner");
        setModified(path, kPartner);
    }
    return *folder / "partners";
}

void FolderMatchTest::applyFromFolder(MainWindow& form, const std::string& chosen)
{
    form.findChild<QAction*>("acModFmFld")->setChecked(true);
    setNextFileDialogAnswer(chosen.empty() ? QStringList() : QStringList{QString::fromStdString(chosen)});
    trigger(form, "acApply");
}

void FolderMatchTest::onePartnerPerName_data()
{
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QStringList>("partners");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("line");
    QTest::newRow("exact, other case") << "report.doc" << QStringList{"REPORT.DOC"} << 2 << QString();
    QTest::newRow("name only") << "report.doc" << QStringList{"report.txt"} << 1
                               << " - All files have a match in file name but not type.\r\n";
    QTest::newRow("several") << "report.doc" << QStringList{"report.txt", "report.bak"} << 0
                             << " - All files have multiple matches of file name but not type; these will not be "
                                "processed.\r\n";
    QTest::newRow("no extension") << "README" << QStringList{"README.txt"} << 1
                                  << " - All files have a match in file name but not type.\r\n";
    QTest::newRow("subfolder") << "data" << QStringList{"data/inner.txt"} << 2 << QString();
}

// One listed file against a folder: the kind found, the box (none for an exact match) and whether the partner's
// stamp arrives.
void FolderMatchTest::onePartnerPerName()
{
    QFETCH(QString, listed);
    QFETCH(QStringList, partners);
    QFETCH(int, kind);
    QFETCH(QString, line);
    MainWindow form(iniPath(), formats);
    const std::vector<std::string> paths = listFiles(form, {listed});
    const std::string partnerFolder = makePartners(partners);
    if (partners.first().startsWith("data/"))
        setModified(partnerFolder + "/data", kPartner);

    applyFromFolder(form, partnerFolder);
    QCOMPARE(form.fileList().object(0).MatchKind, kind);
    QCOMPARE(int(boxes.size()), line.isEmpty() ? 0 : 1);
    if (!boxes.empty())
        QVERIFY(QString::fromStdString(boxes[0].text).contains(line));
    QCOMPARE(diskModified(paths[0]), kind > 0 ? kPartner : kListed);
}

void FolderMatchTest::allExactShowsNoBox()
{
    MainWindow form(iniPath(), formats);
    const std::vector<std::string> paths = listFiles(form, {"a.txt", "b.txt", "c.txt"});
    applyFromFolder(form, makePartners({"a.txt", "B.TXT", "c.txt", "d.txt"}));
    QVERIFY(boxes.empty());
    QCOMPARE(selectedCount(form), 3);
    for (const std::string& path : paths)
        QCOMPARE(diskModified(path), kPartner);
}

// The whole Yes/No/Cancel box, word for word; No keeps only the exact matches selected and touches them alone.
void FolderMatchTest::noAnswerTouchesOnlyExactMatches()
{
    MainWindow form(iniPath(), formats);
    const std::vector<std::string> paths = listFiles(form, {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    const std::string partners = makePartners({"a.txt", "b.txt", "c.txt", "d.bak", "e.bak"});
    answer = MessageResult::No;
    applyFromFolder(form, partners);

    QCOMPARE(int(boxes.size()), 1);
    const MessageBoxRequest& box = boxes[0];
    QCOMPARE(box.caption, std::string("Stampkeep"));
    QCOMPARE(box.text, "A comparison of the selected file(s) with the contents of the folder " + partners +
                           " finds:\r\n\r\n"
                           " - Three files have an exact match in both file name and type.\r\n"
                           " - Two files have a match in file name but not type.\r\n"
                           "\r\nThe Modified date/time stamp of the selected file(s) will be changed to that of "
                           "matching files in this folder.\r\n"
                           "\r\nClick Yes\t\tto process name-only matches as well as exact matches.\r\n"
                           "Click No\t\tto process only exact matches.\r\nClick Cancel\tto do neither.");
    QCOMPARE(box.buttons, MessageButtons::YesNoCancel);
    QCOMPARE(box.icon, MessageIcon::Question);
    QCOMPARE(box.helpContext, 12);

    QCOMPARE(selectedCount(form), 3);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(diskModified(paths[std::size_t(i)]), i < 3 ? kPartner : kListed);
}

// A line says "All files" when its count is the whole list, else the count's word; both stamps named when both
// folder buttons are down.
void FolderMatchTest::allFilesAndCountWordsOpenTheLines()
{
    const MatchCounts twoNameOnly{0, 2, 0, 0};
    const auto all = matchReportBox("Stampkeep", 2, twoNameOnly, "/p/", true, true);
    QVERIFY(all);
    QCOMPARE(all->text, std::string("A comparison of the selected file(s) with the contents of the folder /p finds:\r\n"
                                    "\r\n - All files have a match in file name but not type.\r\n"
                                    "\r\nThe Modified and Created date/time stamp of the selected file(s) will be "
                                    "changed to that of matching files in this folder.\r\n"
                                    "\r\nClick OK to process the matching files."));
    QCOMPARE(all->buttons, MessageButtons::OkCancel);
    const auto two = matchReportBox("Stampkeep", 5, twoNameOnly, "/p/", false, true);
    QVERIFY(two);
    QVERIFY(two->text.find(" - Two files have a match") != std::string::npos);
    QVERIFY(two->text.find("The Created date/time") != std::string::npos);
    const auto many = matchReportBox("Stampkeep", 40, MatchCounts{1, 0, 0, 11}, "/p/", true, false);
    QVERIFY(many);
    QVERIFY(many->text.find(" - One file has an exact match") != std::string::npos);
    QVERIFY(many->text.find(" - 11 files have no match at all; these will not be processed.\r\n") != std::string::npos);

    QCOMPARE(matchDecisionFor(twoNameOnly, MessageResult::Ok).threshold, 0);
    QVERIFY(matchDecisionFor(twoNameOnly, MessageResult::Ok).proceed);
    QVERIFY(!matchDecisionFor(twoNameOnly, MessageResult::Cancel).proceed);
}

void FolderMatchTest::severalAndNoneTouchNothing()
{
    MainWindow form(iniPath(), formats);
    const std::vector<std::string> paths = listFiles(form, {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    applyFromFolder(form, makePartners({"a.1", "a.2", "b.1", "b.2", "c.1", "c.2", "x.txt"}));

    QCOMPARE(int(boxes.size()), 1);
    QVERIFY(boxes[0].text.ends_with(
        " finds:\r\n\r\n - Three files have multiple matches of file name but not type; these will not be "
        "processed.\r\n - Two files have no match at all; these will not be processed.\r\n"));
    QCOMPARE(boxes[0].buttons, MessageButtons::Ok);
    QCOMPARE(boxes[0].icon, MessageIcon::Error);
    QCOMPARE(selectedCount(form), 5);
    for (const std::string& path : paths)
        QCOMPARE(diskModified(path), kListed);
}

void FolderMatchTest::twelveWithoutMatch()
{
    QStringList names;
    for (int i = 0; i < 12; ++i)
        names << QString("f%1.txt").arg(i);
    MainWindow form(iniPath(), formats);
    const std::vector<std::string> paths = listFiles(form, names);
    const std::string partners = makePartners({"other.txt"});
    applyFromFolder(form, partners);

    QCOMPARE(int(boxes.size()), 1);
    QCOMPARE(boxes[0].text, "A comparison of the selected file(s) with the contents of the folder " + partners +
                                " finds:\r\n\r\nNo matching filenames, so no changes will be made.");
    QCOMPARE(boxes[0].icon, MessageIcon::Error);
    QCOMPARE(diskModified(paths[0]), kListed);
}

// Cancel in the report: no file touched, no row deselected, and the window not left busy.
void FolderMatchTest::cancelTouchesNothing()
{
    MainWindow form(iniPath(), formats);
    const std::vector<std::string> paths = listFiles(form, {"a.txt", "b.txt", "c.txt"});
    answer = MessageResult::Cancel;
    applyFromFolder(form, makePartners({"a.txt", "b.bak"}));

    QCOMPARE(int(boxes.size()), 1);
    QCOMPARE(selectedCount(form), 3);
    for (const std::string& path : paths)
        QCOMPARE(diskModified(path), kListed);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(form.fileList().rowImage(row), int(FileListModel::ImageListed));
    idle();
    QVERIFY(form.findChild<QAction*>("acApply")->isEnabled());
}

void FolderMatchTest::unlistableFolderTouchesNothing()
{
    MainWindow form(iniPath(), formats);
    const std::vector<std::string> paths = listFiles(form, {"a.txt"});
    applyFromFolder(form, *folder / "missing");
    QCOMPARE(int(boxes.size()), 1);
    QVERIFY(boxes[0].text.ends_with("No matching filenames, so no changes will be made."));
    QCOMPARE(diskModified(paths[0]), kListed);
}

// A cancelled browser touches with the last comparison's partners; a partner gone since then gives no stamp while
// the run still counts the file as touched.
void FolderMatchTest::cancelledBrowserKeepsTheLastComparison()
{
    MainWindow form(iniPath(), formats);
    const std::vector<std::string> paths = listFiles(form, {"a.txt", "b.txt"});
    const std::string partners = makePartners({"A.TXT", "b.txt"});
    applyFromFolder(form, partners);
    QCOMPARE(diskModified(paths[0]), kPartner);

    const QDateTime later(QDate(2005, 6, 7), QTime(8, 9, 10));
    setModified(partners + "/A.TXT", later);
    QCOMPARE(std::remove((partners + "/b.txt").c_str()), 0);
    setModified(paths[1], kListed);
    applyFromFolder(form, "");
    QVERIFY(boxes.empty());
    QCOMPARE(diskModified(paths[0]), later);
    QCOMPARE(diskModified(paths[1]), kListed);
    QCOMPARE(form.fileList().rowImage(1), int(FileListModel::ImageTouched));
}

// The report as the window shows it: the answers in columns that line up, and a folder too long for the box
// shortened in its middle, whole in its tool tip.
void FolderMatchTest::shownReportLinesUpItsColumnsAndFitsTheFolder()
{
    const QString folder = QString("/a-folder").repeated(40);
    const auto box =
        qtMessageBoxFor(*matchReportBox("Stampkeep", 5, {3, 2, 0, 0}, folder.toStdString() + "/", true, false));
    box->show();
    QMap<QString, QPoint> at; // where the box shows each of its labels' texts
    QString named;            // the text of the label that names the folder
    for (const QLabel* label : box->findChildren<QLabel*>()) {
        at[label->text()] = label->mapTo(box.get(), QPoint());
        named = label->toolTip() == folder ? label->text() : named;
    }
    const std::pair<QString, QString> rows[] = {{"Click Yes", "to process name-only matches as well as exact matches."},
                                                {"Click No", "to process only exact matches."},
                                                {"Click Cancel", "to do neither."}};
    for (const auto& [answer, effect] : rows) {
        QVERIFY2(at.contains(answer) && at.contains(effect), qPrintable(answer));
        QCOMPARE(at[answer], QPoint(at[rows[0].first].x(), at[effect].y()));
        QCOMPARE(at[effect].x(), at[rows[0].second].x());
    }
    QVERIFY2(named.endsWith(" finds:") && named.count(u'…') == 1, qPrintable(named));
    const QStringList ends = named.chopped(QString(" finds:").size()).split(u'…');
    QVERIFY(ends[0].size() > 10 && folder.startsWith(ends[0]) && ends[1].size() > 10 && folder.endsWith(ends[1]));
    QVERIFY(at[named].x() + box->fontMetrics().horizontalAdvance(named) <= box->width());
}

QTEST_MAIN(FolderMatchTest)
#include "foldermatch_test.moc"
