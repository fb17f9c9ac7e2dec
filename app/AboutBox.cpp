#include "AboutBox.h"

#include "BevelPanel.h"
#include "ClickLabel.h"
#include "DocumentsFolder.h"
#include "ErrorReport.h"
#include "Glyphs.h"
#include "MessageDialogs.h"
#include "platform/WindowPlacement.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>

namespace {

const QString makerName = QStringLiteral("The Velbrook developers");

// The program's README and documentation folder, installed or in the checkout.
QString shippedPath(const char* relative) {
    return programDocumentsFolder() + QLatin1Char('/') + QString::fromLatin1(relative);
}

QLabel* placeLabel(QWidget* parent, int left, int top, const QString& text, const QColor& color) {
    auto* label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->move(left, top);
    label->adjustSize();
    return label;
}

ClickLabel* placeLink(QWidget* parent, int left, int top, const QString& text) {
    auto* label = new ClickLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

TAboutBox::TAboutBox(MessageDialogs& dialogs, QWidget* parent)
    : QDialog(parent), openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(319, 300);
    keepPlaced(*this, Placement::ScreenCentre);
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPixelSize(13);
    setFont(dialogFont);

    Panel1 = new BevelPanel(this);
    Panel1->setBevels(Bevel::Raised, Bevel::Lowered);
    Panel1->setGeometry(8, 8, 301, 241);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(14, 18, 32, 32);
    ProgramIcon->setPixmap(programIcon(32));

    ProductName = placeLabel(Panel1, 88, 16, QStringLiteral("Velbrook"), Qt::blue);
    Version = placeLabel(Panel1, 88, 40, QStringLiteral("Version: 0.1"), Qt::red);
    Copyright = placeLabel(Panel1, 8, 80, QStringLiteral("Copyright \u00a9"), Qt::black);
    Label1 = placeLink(Panel1, 128, 80, makerName);
    Label2 = placeLink(Panel1, 128, 102, QStringLiteral("Documentation: docs"));

    Comments = new QLabel(Panel1);
    Comments->setGeometry(14, 139, 272, 85);
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->setText(QStringLiteral("本程式在資料庫之間搬移資料表的資料。為了讓資料在任何情況下"
                                     "都能正常使用，程式採取保守的作法，逐筆複製記錄，"
                                     "因此速度較慢。"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(119, 267, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    connect(Label1, &ClickLabel::clicked, this,
            [this] { runHandler(dialogs_, [this] { Label1Click(); }); });
    connect(Label2, &ClickLabel::clicked, this,
            [this] { runHandler(dialogs_, [this] { Label2Click(); }); });
}

const QUrl& TAboutBox::readmeAddress() {
    static const QUrl url = QUrl::fromLocalFile(shippedPath("README.md"));
    return url;
}

const QUrl& TAboutBox::documentsAddress() {
    static const QUrl url = QUrl::fromLocalFile(shippedPath("docs"));
    return url;
}

void TAboutBox::Label1Click() {
    open(readmeAddress(), readmeAddress().toLocalFile());
}

void TAboutBox::Label2Click() {
    open(documentsAddress(), documentsAddress().toLocalFile());
}

void TAboutBox::open(const QUrl& url, const QString& address) {
    // Without a program for the file the user still gets its path.
    if (!openUrl(url)) {
        dialogs_.showInformation(
            QStringLiteral(
                "No program on this computer opens this file. Copy its path from here:") +
            QStringLiteral("\n\n") + address);
    }
}
