// The window program's utilities: placement, version block reader, About box, glyphs, tool-button cycling and focus,
// path shortening, the folder browser, the help page and the Qt message box.
#include "core/commandline.h"
#include "core/inifile.h"
#include "fake/tempdir.h"
#include "gui/windowfixture.h"
#include "platform/messagebox.h"
#include "winutil/aboutdialog.h"
#include "winutil/actionbinding.h"
#include "winutil/buttoncycle.h"
#include "winutil/filedialog.h"
#include "winutil/focusframestyle.h"
#include "winutil/folderbrowser.h"
#include "winutil/glyphs.h"
#include "winutil/helppage.h"
#include "winutil/pathfit.h"
#include "winutil/qtdatetime.h"
#include "winutil/qtmessagebox.h"
#include "winutil/tools/versionblockbuilder.h"
#include "winutil/versionblock.h"
#include "winutil/versioninfo.h"
#include "winutil/windowplacement.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

QRect centredOnScreen(const QWidget& form)
{
    const QRect area = form.screen()->availableGeometry();
    return {QPoint(area.left() + (area.width() - form.width()) / 2, area.top() + (area.height() - form.height()) / 2),
            form.size()};
}

std::vector<unsigned char> stampkeepBlock(versionblock::Layout layout = versionblock::Layout::Wide)
{
    return versionblock::build(versionblock::stampkeepDescription(2, 1, 0, 0), layout);
}

versionblock::StringTable table(const std::string& key, const std::string& company)
{
    return {key, {{"CompanyName", company}, {"FileVersion", "1.0"}}};
}

QString labelText(const QWidget& form, const char* name)
{
    return form.findChild<QLabel*>(name)->text();
}

// Checkable actions of one tool bar, grouped so that at most one is down.
struct ToolBar
{
    explicit ToolBar(int count)
    {
        group.setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (int i = 0; i < count; ++i) {
            QAction* action = group.addAction(QString::number(i));
            action->setCheckable(true);
            buttons.append(action);
        }
    }

    // The index of each pressed button.
    QList<int> pressedIndexes() const
    {
        QList<int> down;
        for (int i = 0; i < buttons.size(); ++i) {
            if (buttons[i]->isChecked())
                down.append(i);
        }
        return down;
    }

    QActionGroup group{nullptr};
    QList<QAction*> buttons;
};

// The pixels of two pictures of one size whose colour or opacity differs by more than `threshold` in a channel.
int pixelsDifferingBy(const QImage& first, const QImage& second, int threshold)
{
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int difference = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            count += difference > threshold ? 1 : 0;
        }
    }
    return count;
}

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(45, 45, 45));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Button, QColor(60, 60, 60));
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Base, QColor(30, 30, 30));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return palette;
}

// Moves the keyboard focus with Tab, as a person does, until it reaches `target`.
bool tabTo(QWidget* target)
{
    for (int presses = 0; presses < 10 && !target->hasFocus(); ++presses)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return target->hasFocus();
}

} // namespace

class WinutilTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void placementRoundTrip();
    void placementFromPartialSection();
    void placementOfMaximisedWindow();
    void placementOffEveryScreen();
    void placementWriteFailure();

    void versionOfTheProgram();
    void versionTableOrder_data();
    void versionTableOrder();
    void versionNarrowLayout();
    void versionMalformedBlocks();

    void aboutBoxTexts();
    void aboutBoxBeta();
    void aboutBoxWithoutVersion();
    void aboutBoxLayoutHoldsInEveryFont();

    void fitPathToWidth();
    void dropFirstFolder();
    void cycleToolButtons();
    void glyphs();
    void glyphsAtTwiceTheSize();
    void glyphsWithHotVariants();
    void hotGlyphColours();
    void focusFrameOnToolButtons();
    void checkBoxFollowsItsAction();
    void buttonGroupBinding();

    void serialPartsOfDatesAndTimes();

    void browseForFolderAnswered();
    void folderBrowserValidation();

    void helpPage();
    void qtMessageBoxHelpKeepsItOpen();
    void qtMessageBoxKeepsCommandLineLinesWhole();

private:
    QList<QUrl> openedUrls_;
    QList<MessageBoxRequest> boxes_;
};

void WinutilTest::initTestCase()
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Stampkeep"));
}

// No test may start a browser or block on a box unless it installs a real one itself.
void WinutilTest::init()
{
    openedUrls_.clear();
    boxes_.clear();
    setHelpUrlOpener([this](const QUrl& url) { openedUrls_.append(url); });
    setMessageBoxHandler([this](const MessageBoxRequest& request) {
        boxes_.append(request);
        return MessageResult::Ok;
    });
}

void WinutilTest::cleanup()
{
    setMessageBoxHandler(nullptr);
}

// ---------------------------------------------------------------- placement

void WinutilTest::placementRoundTrip()
{
    TempDir temp;
    const std::string ini = temp / "stampkeep.ini";

    QWidget fresh;
    fresh.setObjectName("MainForm");
    fresh.resize(547, 400);
    RestoreFormPlacement(ini, fresh, true);
    QCOMPARE(fresh.geometry(), centredOnScreen(fresh));

    QWidget saved;
    saved.setObjectName("MainForm");
    saved.setGeometry(100, 120, 500, 300);
    {
        IniFile file(ini);
        SaveFormPlacement(file, saved, true);
    }
    const std::string text = fileText(ini);
    const char* keys[] = {"[MainForm Settings]",
                          "Left=100",
                          "Top=120",
                          "Right=600",
                          "Bottom=420",
                          "MinX=-1",
                          "MinY=-1",
                          "MaxX=-1",
                          "MaxY=-1",
                          "ShowCmd=1",
                          "flags=0"};
    std::size_t at = 0;
    for (const char* key : keys) {
        at = text.find(key, at);
        QVERIFY2(at != std::string::npos, key);
    }

    QWidget restored;
    restored.setObjectName("MainForm");
    restored.resize(200, 100);
    RestoreFormPlacement(ini, restored, true);
    QCOMPARE(restored.geometry(), QRect(100, 120, 500, 300));

    // A fixed-size form stores no right and bottom edge and keeps its own size.
    QWidget dialog;
    dialog.setObjectName("PresetForm");
    dialog.setGeometry(30, 40, 320, 240);
    {
        IniFile file(ini);
        SaveFormPlacement(file, dialog, false);
    }
    QVERIFY(!IniFile(ini).readValue("PresetForm Settings", "Right"));
    dialog.setGeometry(0, 0, 320, 240);
    RestoreFormPlacement(ini, dialog, false);
    QCOMPARE(dialog.geometry(), QRect(30, 40, 320, 240));
}

void WinutilTest::placementFromPartialSection()
{
    TempDir temp;
    const std::string ini = temp / "stampkeep.ini";
    IniFile(ini).writeInteger("PresetForm Settings", "Left", 10);
    IniFile(ini).writeInteger("PresetForm Settings", "Top", 20);
    QWidget form;
    form.setObjectName("PresetForm");
    form.resize(300, 200);
    const QRect centred = centredOnScreen(form);
    RestoreFormPlacement(ini, form, true);
    QCOMPARE(form.geometry(), QRect(QPoint(10, 20), centred.bottomRight()));
}

void WinutilTest::placementOfMaximisedWindow()
{
    TempDir temp;
    const std::string ini = temp / "stampkeep.ini";
    QWidget form;
    form.setObjectName("MainForm");
    form.setGeometry(50, 60, 400, 300);
    form.show();
    form.showMaximized();
    QTRY_VERIFY(form.isMaximized());
    {
        IniFile file(ini);
        SaveFormPlacement(file, form, true);
    }
    const IniFile file(ini);
    QCOMPARE(file.readInteger("MainForm Settings", "ShowCmd", 0), 3);
    QCOMPARE(file.readInteger("MainForm Settings", "Right", 0), 450);

    QWidget next;
    next.setObjectName("MainForm");
    RestoreFormPlacement(ini, next, true);
    QCOMPARE(next.geometry(), QRect(50, 60, 400, 300));
    next.show();
    QVERIFY(!next.isMaximized());
}

void WinutilTest::placementOffEveryScreen()
{
    TempDir temp;
    const std::string ini = temp / "stampkeep.ini";
    IniFile file(ini);
    const std::string section = "MainForm Settings";
    file.writeInteger(section, "Left", 9000);
    file.writeInteger(section, "Top", -7000);
    file.writeInteger(section, "Right", 9400);
    file.writeInteger(section, "Bottom", -6700);
    QWidget form;
    form.setObjectName("MainForm");
    form.resize(200, 100);
    RestoreFormPlacement(ini, form, true);
    QCOMPARE(form.geometry(), QRect(9000, -7000, 400, 300));

    // An empty or inverted rectangle keeps the form's own size.
    file.writeInteger(section, "Right", 9000);
    file.writeInteger(section, "Bottom", -7100);
    form.resize(200, 100);
    RestoreFormPlacement(ini, form, true);
    QCOMPARE(form.geometry(), QRect(9000, -7000, 200, 100));
}

void WinutilTest::placementWriteFailure()
{
    TempDir temp;
    QWidget form;
    form.setObjectName("MainForm");
    IniFile missing(temp / "missing/stampkeep.ini");
    QVERIFY_THROWS_EXCEPTION(IniWriteError, SaveFormPlacement(missing, form, true));
}

// ---------------------------------------------------------------- version block

void WinutilTest::versionOfTheProgram()
{
    const VersionInfo info = ReadVersionInfo();
    QCOMPARE(info.Status(), VersionInfo::kStatusRead);
    QVERIFY(info.IsWide());
    QCOMPARE(info.Languages().size(), 1u);
    QCOMPARE(info.Languages()[0].Key, "040904E4");
    QCOMPARE(info.Languages()[0].Strings.size(), 10u);
    QCOMPARE(info.Languages()[0].Strings.front(), "CompanyName=The Stampkeep developers");
    QCOMPARE(info.GetValue("fileversion"), "2.1.0.0");
    QCOMPARE(info.GetValue("ProductVersion"), "2.1.0.0");
    QCOMPARE(info.GetValue("LegalCopyright"), "Copyright \u00A9 2026 The Stampkeep developers");
    QCOMPARE(info.GetValue("Comments"), "Free software under the GNU GPL 3.0 or later, with ABSOLUTELY NO WARRANTY.");
    QCOMPARE(info.GetValue("PubDate"), "");
    QCOMPARE(info.GetValue("LegalTrademarks"), "");
    QCOMPARE(info.GetValue("NoSuchEntry"), "");
    QCOMPARE(info.Translations(), std::vector<std::string>{"040904e4"});
    QCOMPARE(info.FixedInfo()[0], 0xFEEF04BDu);
    QCOMPARE(info.FixedInfo()[2], 0x00020001u);
    QCOMPARE(info.FixedInfo()[3], 0u);
    QCOMPARE(info.FixedInfo()[6], 0x3Fu);
    QCOMPARE(info.FixedInfo()[VersionInfo::kFlagsIndex], 0u);
}

void WinutilTest::versionTableOrder_data()
{
    QTest::addColumn<QString>("firstKey");
    QTest::addColumn<QString>("secondKey");
    QTest::addColumn<QString>("placedFirst");
    const auto row = [](const char* name, const char* first, const char* second, const char* placedFirst) {
        QTest::newRow(name) << QString(first) << QString(second) << QString(placedFirst);
    };
    row("same language beats another", "040704B0", "040904B0", "040904B0");
    row("preferred stays first", "040904E4", "040904B0", "040904E4");
    row("preferred beats same language", "040904B0", "040904E4", "040904E4");
    row("equal ranks keep block order", "041104B0", "040704B0", "041104B0");
    row("lower-case key", "040704b0", "040904e4", "040904E4");
}

void WinutilTest::versionTableOrder()
{
    QFETCH(QString, firstKey);
    QFETCH(QString, secondKey);
    QFETCH(QString, placedFirst);
    versionblock::Description description = versionblock::stampkeepDescription(2, 1, 0, 0);
    description.tables = {table(firstKey.toStdString(), "first"), table(secondKey.toStdString(), "second")};
    const auto block = versionblock::build(description, versionblock::Layout::Wide);
    const VersionInfo info(block);
    QCOMPARE(info.Languages().size(), 2u);
    QCOMPARE(QString::fromStdString(info.Languages()[0].Key), placedFirst);
    const bool firstWon = placedFirst.compare(firstKey, Qt::CaseInsensitive) == 0;
    QCOMPARE(info.GetValue("CompanyName"), firstWon ? "first" : "second");
}

void WinutilTest::versionNarrowLayout()
{
    const VersionInfo wide(stampkeepBlock(versionblock::Layout::Wide));
    const VersionInfo narrow(stampkeepBlock(versionblock::Layout::Narrow));
    QVERIFY(wide.IsWide());
    QVERIFY(!narrow.IsWide());
    QCOMPARE(narrow.Status(), VersionInfo::kStatusRead);
    QCOMPARE(narrow.Languages().size(), 1u);
    QCOMPARE(narrow.Languages()[0].Key, wide.Languages()[0].Key);
    QCOMPARE(narrow.Languages()[0].Strings, wide.Languages()[0].Strings);
    QCOMPARE(narrow.Translations(), wide.Translations());
    QCOMPARE(narrow.FixedInfo(), wide.FixedInfo());
}

// Whatever the bytes, the reader stays inside them and keeps no table from a block it cannot follow.
void WinutilTest::versionMalformedBlocks()
{
    QCOMPARE(VersionInfo(std::span<const unsigned char>()).Status(), VersionInfo::kStatusNoVersionInfo);

    std::vector<unsigned char> garbage(300);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<unsigned char>(i * 37 + 11);
    QVERIFY(VersionInfo(garbage).Languages().empty());

    std::vector<unsigned char> wrongKey = stampkeepBlock();
    wrongKey[6] = 'W';
    QCOMPARE(VersionInfo(wrongKey).Status(), VersionInfo::kStatusWrongRootKey);

    const std::vector<unsigned char> linked(kVersionBlock, kVersionBlock + kVersionBlockSize);
    QCOMPARE(linked, stampkeepBlock());
    for (const auto& block : {linked, stampkeepBlock(versionblock::Layout::Narrow)}) {
        for (std::size_t size = 0; size < block.size(); ++size) {
            const std::vector<unsigned char> truncated(block.begin(), block.begin() + size);
            const VersionInfo info(truncated);
            QVERIFY2(info.Languages().empty() && info.Translations().empty(), qPrintable(QString::number(size)));
        }
    }

    // A block without tables: read, but nothing to show.
    versionblock::Description bare = versionblock::stampkeepDescription(2, 1, 0, 0);
    bare.tables.clear();
    QCOMPARE(VersionInfo(versionblock::build(bare, versionblock::Layout::Wide)).Status(),
             VersionInfo::kStatusNoStringTable);

    // A string entry claiming zero length would never advance; one claiming more than its table overruns it.
    const std::vector<unsigned char> block = stampkeepBlock();
    const std::u16string key = u"CompanyName";
    const auto keyBytes = std::span(reinterpret_cast<const unsigned char*>(key.data()), 2 * key.size());
    const auto found = std::search(block.begin(), block.end(), keyBytes.begin(), keyBytes.end());
    QVERIFY(found != block.end());
    const auto entry = static_cast<std::size_t>(found - block.begin()) - 6; // the first entry of the table
    for (unsigned char length : {0, 0xFF}) {
        std::vector<unsigned char> broken = block;
        broken[entry] = length;
        broken[entry + 1] = length;
        const VersionInfo info(broken);
        QCOMPARE(info.Status(), VersionInfo::kStatusUnreadable);
        QVERIFY(info.Languages().empty());
    }
}

// ---------------------------------------------------------------- About box

// The box names this project, its licence and where to read it; a licence file that is not there is not offered.
void WinutilTest::aboutBoxTexts()
{
    TempDir temp;
    const std::string licence = temp.makeFile("GPL-3", "GNU GENERAL PUBLIC LICENSE\n");
    AboutDialog form(ReadVersionInfo(), nullptr, QString::fromStdString(licence));
    form.layout()->activate();
    QCOMPARE(form.windowTitle(), "About Stampkeep");
    QCOMPARE(labelText(form, "lblVersion"), "Stampkeep - version 2.1.0.0");
    QCOMPARE(labelText(form, "lblCopyright"), "Copyright \u00A9 2026 The Stampkeep developers");
    QCOMPARE(labelText(form, "lblAuthor"),
             "Free software under the GNU GPL 3.0 or later, with ABSOLUTELY NO WARRANTY.");
    const QString links = labelText(form, "lblLicence");
    QVERIFY2(links.contains("href=\"" + QUrl::fromLocalFile(QString::fromStdString(licence)).toString() + "\""),
             qPrintable(links));
    QVERIFY2(links.contains("href=\"https://www.gnu.org/licenses/gpl-3.0.html\""), qPrintable(links));
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        QVERIFY2(!label->text().contains("Rights Reserved") && !label->text().contains("Orvane") &&
                     !label->text().contains("Monthly"),
                 qPrintable(label->text()));
        // Every text shows whole at the box's own size.
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
    }
    QVERIFY(form.findChild<QLabel*>("lblVersion")->palette().color(QPalette::WindowText) != QColor(Qt::red));
    const QPixmap picture = form.findChild<QLabel*>("Image1")->pixmap();
    QVERIFY(!picture.isNull());
    QVERIFY(picture.width() <= 52 && picture.height() <= 52);
    QCOMPARE(picture.toImage().pixelColor(0, picture.height() - 1).alpha(), 0);

    const AboutDialog withoutFile(ReadVersionInfo(), nullptr, QString::fromStdString(temp / "missing"));
    QVERIFY(!labelText(withoutFile, "lblLicence").contains("file:"));
    QVERIFY(labelText(withoutFile, "lblLicence").contains("https://www.gnu.org/licenses/gpl-3.0.html"));
}

void WinutilTest::aboutBoxBeta()
{
    versionblock::Description description = versionblock::stampkeepDescription(2, 1, 0, 0);
    description.fixedInfo[versionblock::kFixedInfoFlagsIndex] = versionblock::kPreReleaseFlag;
    const AboutDialog beta(VersionInfo(versionblock::build(description, versionblock::Layout::Wide)), nullptr);
    QCOMPARE(labelText(beta, "lblVersion"), "Stampkeep - beta version 2.1.0.0");
    QCOMPARE(beta.findChild<QLabel*>("lblVersion")->palette().color(QPalette::WindowText), QColor(Qt::red));

    std::erase_if(description.tables[0].entries, [](const auto& entry) { return entry.first == "FileVersion"; });
    const AboutDialog unnumbered(VersionInfo(versionblock::build(description, versionblock::Layout::Wide)), nullptr);
    QCOMPARE(labelText(unnumbered, "lblVersion"), "Stampkeep beta");
}

void WinutilTest::aboutBoxWithoutVersion()
{
    const AboutDialog form(VersionInfo(), nullptr);
    QCOMPARE(labelText(form, "lblVersion"), "Stampkeep");
    QCOMPARE(labelText(form, "lblCopyright"), "Copyright \u00A9 2026 The Stampkeep developers");
    QCOMPARE(labelText(form, "lblAuthor"),
             "Free software under the GNU GPL 3.0 or later, with ABSOLUTELY NO WARRANTY.");
}

// In a small, the usual, a large and a very large font every text of the box shows whole, clear of its neighbours,
// and the box is never smaller than its design.
void WinutilTest::aboutBoxLayoutHoldsInEveryFont()
{
    const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
    for (const int points : kFontPoints) {
        QApplication::setFont(QFont(QApplication::font().family(), points));
        AboutDialog form(ReadVersionInfo(), nullptr);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList faults = layoutFaults(form);
        if (form.width() < 390 || form.height() < 144)
            faults << QString("the box is %1x%2, smaller than 390x144").arg(form.width()).arg(form.height());
        QVERIFY2(faults.isEmpty(), qPrintable(QString("At %1 points:\n").arg(points) + faults.join('\n')));
    }
}

// ---------------------------------------------------------------- path and tool-button helpers

// Each width picks the first shortening step that fits; widths come from the font so any font will do.
void WinutilTest::fitPathToWidth()
{
    const QString path = "/usr/share/doc/Data/Report.txt";
    const QStringList steps = {path,
                               "/.../share/doc/Data/Report.txt",
                               "/.../doc/Data/Report.txt",
                               "/.../Data/Report.txt",
                               "/.../Report.txt",
                               ".../Report.txt",
                               "Report.txt"};
    const QFontMetrics metrics(QApplication::font());
    for (const QString& step : steps) {
        const int width = metrics.horizontalAdvance(step);
        const auto fits = [&](const QString& candidate) { return metrics.horizontalAdvance(candidate) <= width; };
        QCOMPARE(FitPathToWidth(path, metrics, width), *std::find_if(steps.begin(), steps.end(), fits));
    }
    QCOMPARE(FitPathToWidth(path, metrics, 0), "Report.txt");
    QCOMPARE(FitPathToWidth(path, metrics, 100000), path);
    QCOMPARE(FitPathToWidth("Report.txt", metrics, 0), "Report.txt");
}

void WinutilTest::dropFirstFolder()
{
    const QList<std::pair<QString, QString>> cases = {
        {"/usr/share/", "/.../share/"},
        {"/.../share/", "/.../"},
        {"/.../", "/"},
        {"/", ""},
        {"usr/share/", ".../share/"},
        {".../share/", ".../"},
        {".../", ""},
        // A hidden folder is a folder, not the marker.
        {"/.../.config/app/", "/.../app/"},
        {"/.a/b/c/", "/.../b/c/"},
    };
    for (const auto& [folder, shortened] : cases) {
        QString changed = folder;
        DropFirstFolder(changed);
        QCOMPARE(changed, shortened);
    }
}

void WinutilTest::cycleToolButtons()
{
    ToolBar walk(3);
    const QList<QList<int>> expected = {{0}, {1}, {2}, {}, {0}};
    for (const QList<int>& down : expected) {
        CycleToolButtons(walk.buttons);
        QCOMPARE(walk.pressedIndexes(), down);
    }

    ToolBar firstDisabled(3);
    firstDisabled.buttons[0]->setEnabled(false);
    CycleToolButtons(firstDisabled.buttons);
    QCOMPARE(firstDisabled.pressedIndexes(), QList<int>{1});

    ToolBar secondDown(2);
    secondDown.buttons[1]->setChecked(true);
    CycleToolButtons(secondDown.buttons);
    QCOMPARE(secondDown.pressedIndexes(), QList<int>{});

    // Only one disabled button is skipped: the one after it is pressed even when disabled too.
    ToolBar twoDisabled(4);
    twoDisabled.buttons[1]->setEnabled(false);
    twoDisabled.buttons[2]->setEnabled(false);
    twoDisabled.buttons[0]->setChecked(true);
    CycleToolButtons(twoDisabled.buttons);
    QCOMPARE(twoDisabled.pressedIndexes(), QList<int>{2});
}

// Every glyph the windows use is present, 16 x 16, with its background transparent.
void WinutilTest::glyphs()
{
    QList<QIcon> list{QIcon()};
    LoadGlyphRange(list, 23, 10);
    QVERIFY(list.isEmpty());

    const QList<std::pair<int, int>> ranges = {{10, 24}, {30, 41}, {45, 50}};
    for (const auto& [first, last] : ranges) {
        LoadGlyphRange(list, first, last);
        QCOMPARE(list.size(), last - first + 1);
        for (int i = 0; i < list.size(); ++i) {
            const QImage image = list[i].pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
            const QByteArray number = QByteArray::number(first + i);
            QVERIFY2(image.size() == QSize(16, 16), number);
            QVERIFY2(image.pixelColor(0, 0).alpha() == 0, number);
            const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
            QVERIFY2(std::any_of(pixels, pixels + 256, [](QRgb pixel) { return qAlpha(pixel) == 255; }), number);
        }
    }

    LoadGlyphList(list, {24, 15});
    QList<QIcon> single;
    LoadGlyphRange(single, 15, 15);
    QCOMPARE(list.size(), 2);
    QCOMPARE(list[1].pixmap(16, 16).toImage(), single[0].pixmap(16, 16).toImage());
    QVERIFY(list[0].pixmap(16, 16).toImage() != single[0].pixmap(16, 16).toImage());
}

// Every glyph the windows load holds a picture of 16 and one of 32 pixels, and a 200 % screen gets the 32 pixel one:
// drawn at that size, not the 16 pixel one enlarged (blocky or smoothed).
void WinutilTest::glyphsAtTwiceTheSize()
{
    const QList<std::pair<int, int>> ranges = {{10, 24}, {30, 43}, {45, 50}};
    QList<QIcon> list;
    for (const auto& [first, last] : ranges) {
        LoadGlyphRange(list, first, last);
        for (int i = 0; i < list.size(); ++i) {
            const QByteArray number = QByteArray::number(first + i);
            const QList<QSize> sizes = list[i].availableSizes();
            QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)), number);
            const QPixmap twice = list[i].pixmap(QSize(16, 16), 2.0);
            QVERIFY2(twice.size() == QSize(32, 32), number);
            const QImage small = list[i].pixmap(QSize(16, 16), 1.0).toImage();
            for (const Qt::TransformationMode mode : {Qt::FastTransformation, Qt::SmoothTransformation}) {
                const QImage enlarged = small.scaled(32, 32, Qt::IgnoreAspectRatio, mode);
                QVERIFY2(pixelsDifferingBy(twice.toImage(), enlarged, 16) >= 8, number);
            }
        }
    }
}

// A glyph shows its hot variant while the pointer is over its button; one without a hot variant stays as it is.
void WinutilTest::glyphsWithHotVariants()
{
    // At 200 % too, the hot picture is the one drawn at twice the size.
    const auto image = [](const QIcon& icon, QIcon::Mode mode) {
        return std::pair(icon.pixmap(QSize(16, 16), 1.0, mode).toImage(),
                         icon.pixmap(QSize(16, 16), 2.0, mode).toImage());
    };
    QList<QIcon> normal;
    QList<QIcon> hot;
    LoadGlyphRange(normal, 30, 32);
    LoadGlyphRange(hot, 36, 37);
    const QList<QIcon> both = withHotImages(normal, hot);
    QCOMPARE(both.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(image(both[i], QIcon::Normal), image(normal[i], QIcon::Normal));
    QCOMPARE(image(both[0], QIcon::Active), image(hot[0], QIcon::Normal));
    QCOMPARE(image(both[1], QIcon::Active), image(hot[1], QIcon::Normal));
    QCOMPARE(image(both[2], QIcon::Active), image(normal[2], QIcon::Active));

    QList<QIcon> states;
    loadStateGlyphs(states);
    LoadGlyphList(normal, {30, 31, 32, 33, 34, 35, 42});
    LoadGlyphList(hot, {36, 37, 38, 39, 40, 41, 43});
    QCOMPARE(states.size(), 7);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(image(states[i], QIcon::Normal), image(normal[i], QIcon::Normal));
        QCOMPARE(image(states[i], QIcon::Active), image(hot[i], QIcon::Normal));
    }
}

// The hot glyphs are the drawings of others in other colours: the same shapes (the same opacity, pixel by pixel), lit
// up, at both sizes.
void WinutilTest::hotGlyphColours()
{
    const auto picture = [](int number, qreal scale) {
        QList<QIcon> glyph;
        LoadGlyphList(glyph, {number});
        return glyph[0].pixmap(QSize(16, 16), scale).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    const auto sameShape = [](const QImage& a, const QImage& b) {
        return a.size() == b.size() &&
               a.convertToFormat(QImage::Format_Alpha8) == b.convertToFormat(QImage::Format_Alpha8);
    };
    const auto lightness = [](const QImage& image) {
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                sum += qGray(image.pixel(x, y)) * qAlpha(image.pixel(x, y));
        }
        return sum;
    };
    const std::pair<int, int> normalAndHot[] = {{30, 24}, {30, 36}, {31, 37}, {32, 38},
                                                {33, 39}, {34, 40}, {35, 41}, {42, 43}};
    for (qreal scale : {1.0, 2.0}) {
        for (const auto& [normalNumber, hotNumber] : normalAndHot) {
            const QImage normal = picture(normalNumber, scale);
            const QImage hot = picture(hotNumber, scale);
            const QByteArray number = QByteArray::number(hotNumber);
            QVERIFY2(sameShape(normal, hot), number);
            QVERIFY2(normal != hot, number);
            QVERIFY2(lightness(hot) > lightness(normal), number);
        }
    }
}

// A tool button with the keyboard focus is framed all around, plainly enough to find at a glance, on light and dark
// palettes: a plain one, and the grouped buttons, pressed or not, which are drawn in a style of their own.
void WinutilTest::focusFrameOnToolButtons()
{
    const QString previousStyle = QApplication::style()->name();
    installFocusFrameStyle();
    const auto restoreStyle = qScopeGuard([&previousStyle] { QApplication::setStyle(previousStyle); });
    QList<QIcon> images;
    LoadGlyphRange(images, 30, 31);
    for (const QPalette& palette : {QApplication::style()->standardPalette(), darkPalette()}) {
        QWidget window;
        window.setPalette(palette);
        auto* layout = new QHBoxLayout(&window);
        auto* field = new QLineEdit;
        auto* plain = new QToolButton;
        auto* pressed = new QToolButton;
        auto* released = new QToolButton;
        plain->setIcon(images[0]);
        QAction pressedAction;
        QAction releasedAction;
        for (QAction* action : {&pressedAction, &releasedAction})
            action->setCheckable(true);
        bindButtonGroup({{pressed, &pressedAction, 0}, {released, &releasedAction, 1}}, images,
                        QActionGroup::ExclusionPolicy::ExclusiveOptional, &window);
        pressedAction.setChecked(true);
        for (QWidget* widget : std::initializer_list<QWidget*>{field, plain, pressed, released})
            layout->addWidget(widget);
        for (QToolButton* button : {plain, pressed, released})
            button->setAutoRaise(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        for (const auto& [button, name] : {std::pair{plain, "plain"}, {pressed, "pressed"}, {released, "released"}}) {
            field->setFocus();
            const QImage without = button->grab().toImage();
            QVERIFY2(tabTo(button), name);
            const QImage with = button->grab().toImage();
            const int outline = 2 * (button->width() + button->height());
            QVERIFY2(pixelsDifferingBy(with, without, 64) >= outline, name);
        }
    }
}

// The box mirrors its action's check, enabling and hints. A click runs the action, and the check stays the action's
// even where running it changes nothing, as for the pressed action of an exclusive group.
void WinutilTest::checkBoxFollowsItsAction()
{
    QActionGroup group(nullptr);
    QAction* action = group.addAction("Include date");
    QAction* other = group.addAction("Other");
    for (QAction* member : {action, other})
        member->setCheckable(true);
    action->setToolTip("Include date");
    action->setStatusTip("Include date when setting file times from date/time");
    QCheckBox box;
    bindCheckBox(&box, action);
    QCOMPARE(box.toolTip(), action->toolTip());
    QCOMPARE(box.statusTip(), action->statusTip());
    QVERIFY(!box.isChecked());

    int runs = 0;
    connect(action, &QAction::triggered, this, [&runs] { ++runs; });
    box.click();
    QCOMPARE(runs, 1);
    QVERIFY(action->isChecked());
    QVERIFY(box.isChecked());
    box.click();
    QCOMPARE(runs, 2);
    QVERIFY(action->isChecked());
    QVERIFY(box.isChecked());

    other->setChecked(true);
    QVERIFY(!box.isChecked());
    action->setEnabled(false);
    QVERIFY(!box.isEnabled());
    action->setEnabled(true);
    QVERIFY(box.isEnabled());
}

// Each button shows its action with the image its binding names; the group, owned as asked, follows its policy.
void WinutilTest::buttonGroupBinding()
{
    QList<QIcon> images;
    LoadGlyphRange(images, 30, 32);
    QWidget owner;
    QToolButton first(&owner);
    QToolButton second(&owner);
    QAction a("a");
    QAction b("b");
    for (QAction* action : {&a, &b})
        action->setCheckable(true);
    QActionGroup* group = bindButtonGroup({{&first, &a, 2}, {&second, &b, 0}}, images,
                                          QActionGroup::ExclusionPolicy::ExclusiveOptional, &owner);
    QCOMPARE(group->parent(), &owner);
    QCOMPARE(group->actions(), (QList<QAction*>{&a, &b}));
    QCOMPARE(first.defaultAction(), &a);
    QCOMPARE(second.defaultAction(), &b);
    QCOMPARE(a.icon().pixmap(16, 16).toImage(), images[2].pixmap(16, 16).toImage());
    QCOMPARE(b.icon().pixmap(16, 16).toImage(), images[0].pixmap(16, 16).toImage());

    first.click();
    second.click();
    QVERIFY(!a.isChecked() && b.isChecked());
    second.click();
    QVERIFY(!a.isChecked() && !b.isChecked());
}

// ---------------------------------------------------------------- date/time serials

// Day numbers count from 1899-12-30, the time of day is the fraction to the millisecond; a serial that names no moment
// gives invalid parts.
void WinutilTest::serialPartsOfDatesAndTimes()
{
    QCOMPARE(dateToSerial(QDate(1899, 12, 30)), 0.0);
    QCOMPARE(dateToSerial(QDate(2001, 5, 6)), 37017.0);
    QCOMPARE(timeToSerial(QTime(18, 0)), 0.75);
    QCOMPARE(serialToDate(37017.75), QDate(2001, 5, 6));
    QCOMPARE(serialToTime(37017.75), QTime(18, 0));
    QCOMPARE(serialToDateTime(37017.75), QDateTime(QDate(2001, 5, 6), QTime(18, 0)));

    // The last millisecond of a day stays in its day.
    const QTime last(23, 59, 59, 999);
    QCOMPARE(serialToTime(timeToSerial(last)), last);
    QCOMPARE(serialToDate(dateToSerial(QDate(2105, 12, 31)) + timeToSerial(last)), QDate(2105, 12, 31));

    QVERIFY(!serialToDate(-1).isValid());
    QVERIFY(!serialToTime(-1).isValid());
    QVERIFY(!serialToDateTime(-1).isValid());
}

// ---------------------------------------------------------------- folder browser

void WinutilTest::browseForFolderAnswered()
{
    TempDir temp;
    const std::string dataPath = temp.makeFolder("Data");
    const QString data = QString::fromStdString(dataPath);
    std::string chosen = "unchanged";

    setNextFileDialogAnswer({});
    QVERIFY(!BrowseForFolder(nullptr, dataPath, "Select folder for matching files", chosen));
    QCOMPARE(chosen, "unchanged");

    setNextFileDialogAnswer({data});
    QVERIFY(BrowseForFolder(nullptr, "/", "Select folder for matching files", chosen));
    QCOMPARE(chosen, dataPath + "/");

    setNextFileDialogAnswer({"/"});
    QVERIFY(BrowseForFolder(nullptr, dataPath, "Select folder for matching files", chosen));
    QCOMPARE(chosen, "/");

    // A folder whose name, or its parent's, is no text: the browser shows replacement characters, the caller gets
    // the bytes.
    const std::string odd = temp.makeFolder("p\xFE/q\xFF");
    temp.makeFolder("p\xFE/q");
    std::string bytes;
    setNextFileDialogAnswer({QFile::decodeName(QByteArray::fromStdString(odd))});
    QVERIFY(BrowseForFolder(nullptr, temp.path(), "Select folder for matching files", bytes));
    QCOMPARE(bytes, odd + "/");

    QCOMPARE(browserStartFolder("/"), "/");
    QCOMPARE(browserStartFolder(data + "/"), data);
    QCOMPARE(browserStartFolder(data), data);
    // Nothing remembered yet: both dialogs open in the user's home folder, not where the program lies.
    QCOMPARE(FolderBrowser(nullptr, "", "Select folder").directory().absolutePath(), QDir::homePath());
    QCOMPARE(dialogStartFolder(""), QDir::homePath());
    QCOMPARE(dialogStartFolder(data), data);
}

void WinutilTest::folderBrowserValidation()
{
    TempDir temp;
    const QString data = QString::fromStdString(temp.makeFolder("Data"));
    const QString file = QString::fromStdString(temp.makeFile("Data/notes.txt"));
    FolderBrowser browser(nullptr, data + "/", "Select folder");
    auto* status = browser.findChild<QLabel*>("lblStatus");
    QPushButton* ok = browser.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open);
    QVERIFY(status && ok);
    QCOMPARE(browser.directory().absolutePath(), data);
    QCOMPARE(status->text(), data);
    QVERIFY(ok->isEnabled());

    emit browser.currentChanged(file);
    QVERIFY(!ok->isEnabled());
    emit browser.currentChanged(data);
    QVERIFY(ok->isEnabled());

    // A long choice is shortened to the width of the dialog.
    const QString deep = QString::fromStdString(temp.makeFolder(std::string(60, 'a') + "/" + std::string(60, 'b')));
    emit browser.currentChanged(deep);
    QVERIFY(status->text().startsWith("/.../") || status->text().startsWith(".../"));
    QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) <= browser.width() - 20);

    browser.selectFile("no such folder");
    browser.accept();
    QCOMPARE(status->text(), "\"no such folder\" is not a valid folder name");
    QCOMPARE(browser.result(), int(QDialog::Rejected));
}

// ---------------------------------------------------------------- help and message boxes

void WinutilTest::helpPage()
{
    TempDir temp;
    const QString page = QString::fromStdString(temp.makeFile("stampkeep.html", "<html></html>"));
    openHelpFile(page, 12);
    openHelpFile(page, 0);
    QCOMPARE(openedUrls_.size(), 2);
    QCOMPARE(openedUrls_[0].toLocalFile(), page);
    QCOMPARE(openedUrls_[0].fragment(), "context-12");
    QVERIFY(!openedUrls_[1].hasFragment());
    QVERIFY(boxes_.isEmpty());

    // The program's own page is the test program's path with ".html", which does not exist.
    openHelpPage(14);
    QCOMPARE(openedUrls_.size(), 2);
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_[0].caption, "Stampkeep");
    QCOMPARE(boxes_[0].icon, MessageIcon::Error);
    const QString expectedPage = QCoreApplication::applicationFilePath() + ".html";
    QCOMPARE(QString::fromStdString(boxes_[0].text), "Help file not found: " + expectedPage);
}

// The Help button opens the help page (here: the report that it is missing) and the box stays up for its answer.
void WinutilTest::qtMessageBoxHelpKeepsItOpen()
{
    installQtMessageBox();
    QString helpReport;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), "Stampkeep");
        QCOMPARE(box->text(), "Some <files> failed");
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QTimer::singleShot(0, [&] {
            auto* report = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(report);
            helpReport = report->text();
            report->button(QMessageBox::Ok)->click();
        });
        box->button(QMessageBox::Help)->click();
        stayedOpen = box->isVisible();
        box->button(QMessageBox::No)->click();
    });
    MessageBoxRequest request;
    request.caption = "Stampkeep";
    request.text = "Some <files> failed";
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::YesNo;
    request.helpContext = 12;
    QCOMPARE(showMessageBox(request), MessageResult::No);
    QVERIFY(stayedOpen);
    QVERIFY(helpReport.startsWith("Help file not found: "));
}

// The command line's boxes show each line of their text as one line: the switch help, and errors whose lines are
// wider than a box wraps its text.
void WinutilTest::qtMessageBoxKeepsCommandLineLinesWhole()
{
    TTouchSettings settings;
    ShowSwitchHelp(false);
    ParseCommandLine(settings, {"/Q", "/D:not-a-date/with-slashes/and-more-of-them/in-it/that-run-on"},
                     IniFile("/nonexistent/stampkeep.ini"), BuildDateTimeFormats(), false);
    QCOMPARE(boxes_.size(), 2);
    for (const MessageBoxRequest& request : boxes_) {
        const std::unique_ptr<QMessageBox> box = qtMessageBoxFor(request);
        box->show();
        QStringList whole; // the lines shown by labels that neither wrap nor are too narrow for them
        for (const QLabel* label : box->findChildren<QLabel*>())
            for (const QString& line :
                 label->isVisible() ? label->text().split(u'\n', Qt::SkipEmptyParts) : QStringList())
                if (!label->wordWrap() && label->fontMetrics().horizontalAdvance(line) <= label->width())
                    whole << line;
        QCOMPARE(whole, QString::fromStdString(request.text).split("\r\n", Qt::SkipEmptyParts));
    }
}

QTEST_MAIN(WinutilTest)
#include "winutil_test.moc"
