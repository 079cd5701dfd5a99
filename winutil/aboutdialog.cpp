// The About box: the program's title and version, copyright and licence, from its version block.
#include "winutil/aboutdialog.h"

#include "ui_aboutbox.h"
#include "winutil/projectnotice.h"
#include "winutil/versioninfo.h"

#include <QApplication>
#include <QBitmap>
#include <QFileInfo>
#include <QScreen>
#include <QUrl>

namespace {

QString valueOr(const VersionInfo& info, const char* name, const char* fallback)
{
    const std::string value = info.GetValue(name);
    return QString::fromStdString(value.empty() ? fallback : value);
}

QString versionText(const QString& title, const QString& version, bool isBeta)
{
    if (version.isEmpty())
        return isBeta ? title + QStringLiteral(" beta") : title;
    return (isBeta ? QStringLiteral("%1 - beta version %2") : QStringLiteral("%1 - version %2")).arg(title, version);
}

QString link(const QUrl& url, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toString().toHtmlEscaped(), text.toHtmlEscaped());
}

// The licence's text on this machine where it is installed, and on the web.
QString licenceLinks(const QString& licenceFile)
{
    QString links = link(QUrl(projectnotice::kLicenceAddress), projectnotice::kLicenceAddress);
    if (QFileInfo(licenceFile).isFile())
        links = link(QUrl::fromLocalFile(licenceFile), licenceFile) + QStringLiteral("<br>") + links;
    return QStringLiteral("The licence: ") + links;
}

} // namespace

AboutDialog::AboutDialog(QWidget* owner) : AboutDialog(ReadVersionInfo(), owner) {}

AboutDialog::AboutDialog(const VersionInfo& info, QWidget* owner, const QString& licenceFile)
    : QDialog(owner), ui(std::make_unique<Ui::AboutForm>())
{
    ui->setupUi(this);
    connect(ui->btnAboutOK, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate(info, licenceFile);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::FormCreate(const VersionInfo& info, const QString& licenceFile)
{
    const QString title = QGuiApplication::applicationDisplayName();
    const bool isBeta = (info.FixedInfo()[VersionInfo::kFlagsIndex] & VersionInfo::kPreReleaseFlag) != 0;
    ui->lblVersion->setText(versionText(title, QString::fromStdString(info.GetValue("FileVersion")), isBeta));
    ui->lblCopyright->setText(valueOr(info, "LegalCopyright", projectnotice::kCopyright));
    ui->lblAuthor->setText(valueOr(info, "Comments", projectnotice::kLicence));
    ui->lblLicence->setText(licenceLinks(licenceFile));
    if (isBeta) {
        QPalette palette = ui->lblVersion->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        ui->lblVersion->setPalette(palette);
    }
    setWindowTitle(QStringLiteral("About ") + title);
    showPicture();
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

// The picture is transparent where it has the colour of its bottom-left pixel.
void AboutDialog::showPicture()
{
    QPixmap picture(QStringLiteral(":/resources/aboutme.bmp"));
    if (picture.isNull()) {
        ui->Image1->setPixmap(QApplication::windowIcon().pixmap(ui->Image1->size()));
        return;
    }
    const QColor key = picture.toImage().pixelColor(0, picture.height() - 1);
    picture.setMask(picture.createMaskFromColor(key, Qt::MaskInColor));
    ui->Image1->setPixmap(picture);
}
