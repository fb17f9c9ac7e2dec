#include "FormFixture.h"
#include "app/ConnectionHandlers.h"
#include "app/MoveHandlers.h"
#include "connections/TConnEditForm.h"
#include "tests/connections/TestSupport.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// The demo that the run command prepares, in a home of its own.
class Demo : public FormFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        const std::string dataHome = home.filePath("share").toStdString();
        setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        setenv("ODBCINI", home.filePath("odbc.ini").toStdString().c_str(), 1);
        const std::string prepare = std::string(VELBROOK_SOURCE_DIR) + "/scripts/prepare-demo";
        ASSERT_EQ(std::system(prepare.c_str()), 0);
        linkFile = dataHome + "/OLE DB/Data Links/demo-target.udl";
        targetFile = dataHome + "/velbrook/demo-target.sqlite";
        FormFixture::SetUp();
        connectConnectionHandlers(*form);
        connectMoveHandlers(*form);
    }

    void TearDown() override {
        FormFixture::TearDown();
        unsetenv("XDG_DATA_HOME");
        unsetenv("ODBCINI");
    }

    QTemporaryDir home;
    std::string linkFile;
    std::string targetFile;
};

TEST_F(Demo, ClicksAloneCopyTheDemoDatabase_sqlite) {
    // Source: the editor shows the start-up string, OK.
    {
        ModalAnswer<TConnEditForm> answer([](TConnEditForm& editor) { editor.OkButton->click(); });
        click(form->btnOpenSource);
        ASSERT_TRUE(answer.ran());
    }
    ASSERT_EQ(form->clstSource->count(), 11) << messages().join('\n').toStdString();
    // Target: the demo's data link file, OK.
    {
        ModalAnswer<TConnEditForm> answer([](TConnEditForm& editor) {
            editor.UseDataLinkFile->click();
            editor.DataLinkFile->setCurrentText(QStringLiteral("demo-target.udl"));
            editor.OkButton->click();
        });
        click(form->btnOpenTarget);
        ASSERT_TRUE(answer.ran());
    }
    ASSERT_TRUE(form->ADOConnection2.Connected()) << messages().join('\n').toStdString();
    EXPECT_EQ(form->ADOConnection2.ConnectionString(), "FILE NAME=" + linkFile);
    click(form->btnSelectAll);
    click(form->btnMover);
    ASSERT_EQ(form->clstTarget->count(), 11);
    for (int i = 0; i < form->clstTarget->count(); ++i) {
        EXPECT_TRUE(form->clstTarget->checked(i))
            << form->clstTarget->item(i)->text().toStdString();
    }
    EXPECT_TRUE(form->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(form->clstTarget->item(10)->text(), "track  Records: 3503");
    const std::string count =
        "sqlite3 '" + targetFile + "' 'SELECT count(*) FROM track' | grep -qx 3503";
    EXPECT_EQ(std::system(count.c_str()), 0);
    // The window as the walkthrough shows it, with the window manager's frame
    // when there is one (scripts/readme-pictures).
    std::filesystem::create_directories(VELBROOK_SCREENSHOT_DIR);
    // Lists lay out their new lines from the event loop.
    QCoreApplication::processEvents();
    form->repaint();
    const QRect frame = form->frameGeometry();
    const QPixmap picture =
        form->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    EXPECT_TRUE(picture.save(VELBROOK_SCREENSHOT_DIR "/demo-copied.png"));
}

TEST_F(Demo, PreparingAgainLeavesTheUsersFilesAlone_sqlite) {
    const std::string prepare = std::string(VELBROOK_SOURCE_DIR) + "/scripts/prepare-demo";
    {
        std::ofstream link(linkFile, std::ios::trunc);
        link << "mine";
    }
    ASSERT_EQ(std::system(prepare.c_str()), 0);
    std::ifstream link(linkFile);
    std::string content;
    std::getline(link, content);
    EXPECT_EQ(content, "mine");
}

} // namespace
