#include "app/AboutBox.h"

#include "RecordingDialogs.h"
#include "app/ClickLabel.h"
#include "app/DocumentsFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

class AboutBoxLabels : public ::testing::Test {
protected:
    void SetUp() override {
        box.openUrl = [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    static QColor textColor(const QLabel* label) {
        return label->palette().color(QPalette::WindowText);
    }

    RecordingDialogs dialogs;
    TAboutBox box{dialogs};
    std::vector<QUrl> opened;
};

TEST_F(AboutBoxLabels, ShowProductVersionMakerAndNote) {
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.size(), QSize(319, 300));
    EXPECT_EQ(box.ProductName->text(), "Velbrook");
    EXPECT_EQ(textColor(box.ProductName), QColor(Qt::blue));
    EXPECT_EQ(box.Version->text(), "Version: 0.1");
    EXPECT_EQ(textColor(box.Version), QColor(Qt::red));
    EXPECT_EQ(box.Label1->text(), "The Velbrook developers");
    EXPECT_EQ(box.Label2->text(), "Documentation: docs");
    EXPECT_TRUE(box.Comments->wordWrap());
    EXPECT_TRUE(box.Comments->text().contains(QString::fromUtf8("逐筆")));
    EXPECT_FALSE(box.ProgramIcon->pixmap().isNull());
}

TEST_F(AboutBoxLabels, LinksLookClickable) {
    for (const ClickLabel* link : {box.Label1, box.Label2}) {
        EXPECT_EQ(textColor(link), QColor(Qt::blue));
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
}

TEST_F(AboutBoxLabels, ClicksOpenTheReadmeAndTheDocumentationTheProgramShips) {
    QTest::mouseClick(box.Label1, Qt::LeftButton);
    QTest::mouseClick(box.Label2, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(QFileInfo(opened[0].toLocalFile()).isFile()) << opened[0].toString().toStdString();
    EXPECT_EQ(opened[0].fileName(), "README.md");
    EXPECT_TRUE(QFileInfo(opened[1].toLocalFile() + "/RELIABILITY.md").isFile())
        << opened[1].toString().toStdString();
    EXPECT_TRUE(dialogs.shown.empty());
}

// With no program for the file, a box shows its path to copy.
struct UnopenedCase {
    const char* name;
    ClickLabel* TAboutBox::*label;
    QString address;
};

class AboutBoxUnopened : public AboutBoxLabels,
                         public ::testing::WithParamInterface<UnopenedCase> {};

TEST_P(AboutBoxUnopened, ShowsTheAddress) {
    box.openUrl = [](const QUrl&) { return false; };
    QTest::mouseClick(box.*GetParam().label, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Information);
    EXPECT_EQ(dialogs.shown[0].caption, "Information");
    EXPECT_TRUE(dialogs.shown[0].text.endsWith("\n" + GetParam().address))
        << dialogs.shown[0].text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(, AboutBoxUnopened,
                         ::testing::Values(UnopenedCase{"Readme", &TAboutBox::Label1,
                                                        TAboutBox::readmeAddress().toLocalFile()},
                                           UnopenedCase{
                                               "Documentation", &TAboutBox::Label2,
                                               TAboutBox::documentsAddress().toLocalFile()}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

// The links lead into an installed prefix's documentation when it has one.
class AboutBoxDocumentsFolder : public ::testing::TestWithParam<bool> {};

TEST_P(AboutBoxDocumentsFolder, FollowsWhereTheProgramRuns) {
    QTemporaryDir prefix;
    const QString installed = prefix.filePath(QStringLiteral("share/doc/velbrook"));
    if (GetParam()) {
        ASSERT_TRUE(QDir().mkpath(installed) &&
                    QFile(installed + "/README.md").open(QFile::WriteOnly));
    }
    EXPECT_EQ(documentsFolder(prefix.filePath(QStringLiteral("bin"))),
              GetParam() ? installed : QStringLiteral(VELBROOK_SOURCE_DIR));
}

INSTANTIATE_TEST_SUITE_P(, AboutBoxDocumentsFolder, ::testing::Values(true, false),
                         [](const auto& testInfo) {
                             return std::string(testInfo.param ? "Installed" : "BuildTree");
                         });

TEST_F(AboutBoxLabels, OkIsTheDefaultButtonAndCloses) {
    EXPECT_TRUE(box.OKButton->isDefault());
    EXPECT_EQ(box.OKButton->geometry(), QRect(119, 267, 75, 25));
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(AboutBoxLabels, AFailingOpenBecomesTheErrorReport) {
    box.openUrl = [](const QUrl&) -> bool { throw std::runtime_error("no browser"); };
    QTest::mouseClick(box.Label1, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "no browser.");
}

} // namespace
