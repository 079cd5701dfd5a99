#include "winutil/aboutbox.h"

#include "ui_aboutbox.h"
#include "winutil/verresu.h"

#include <QApplication>
#include <QBitmap>
#include <QScreen>

namespace {

const char* const kFallbackCopyright = "Copyright \u00A9 2000 Orvane Software";
const char* const kFallbackAuthor = "Written by the Stampkeep team";
const char* const kFallbackPubDate = "Monthuary 32, 2001";

QString valueOr(const TVerInfoObj& info, const char* name, const char* fallback)
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

} // namespace

TAboutForm::TAboutForm(QWidget* owner) : TAboutForm(ReadVersionInfo(), owner) {}

TAboutForm::TAboutForm(const TVerInfoObj& info, QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::AboutForm>())
{
    ui->setupUi(this);
    connect(ui->btnAboutOK, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate(info);
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::FormCreate(const TVerInfoObj& info)
{
    const QString title = QGuiApplication::applicationDisplayName();
    const bool isBeta = (info.FixedInfo()[TVerInfoObj::kFlagsIndex] & TVerInfoObj::kPreReleaseFlag) != 0;
    ui->lblVersion->setText(versionText(title, QString::fromStdString(info.GetValue("FileVersion")), isBeta));
    ui->lblCopyright->setText(valueOr(info, "LegalCopyright", kFallbackCopyright));
    ui->lblAuthor->setText(valueOr(info, "Comments", kFallbackAuthor));
    ui->lblPubdate->setText(valueOr(info, "PubDate", kFallbackPubDate));
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
void TAboutForm::showPicture()
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
