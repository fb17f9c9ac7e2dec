#include "TestSupport.h"
#include "platform/BrowseDataLinkFile.h"
#include "platform/DataLinkFiles.h"
#include "platform/DataLinkFolder.h"
#include "platform/FilePaths.h"
#include "platform/HelpTopics.h"
#include "platform/WindowPlacement.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
#include <QTreeView>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct FolderCase {
    const char* name;
    std::optional<std::string> dataHome;
    std::optional<std::string> home;
    std::string folder;
};

class DataLinkFolderRule : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DataLinkFolderRule, FollowsTheDataHome) {
    const FolderCase& c = GetParam();
    const ScopedEnvironment dataHome("XDG_DATA_HOME", c.dataHome);
    const ScopedEnvironment home("HOME", c.home);
    EXPECT_EQ(DataLinkFolder(), c.folder);
}

INSTANTIATE_TEST_SUITE_P(
    , DataLinkFolderRule,
    ::testing::Values(
        FolderCase{"DataHomeSet", "/data/me", "/home/me", "/data/me/OLE DB/Data Links"},
        FolderCase{"DataHomeWithoutHome", "/data/me", std::nullopt, "/data/me/OLE DB/Data Links"},
        FolderCase{"OnlyHome", std::nullopt, "/home/me", "/home/me/.local/share/OLE DB/Data Links"},
        FolderCase{"EmptyDataHome", "", "/home/me", "/home/me/.local/share/OLE DB/Data Links"},
        FolderCase{"Neither", std::nullopt, std::nullopt, ""}, FolderCase{"BothEmpty", "", "", ""}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DataLinkFolder, IsReadAgainAtEveryCall) {
    const ScopedEnvironment first("XDG_DATA_HOME", "/first");
    EXPECT_EQ(DataLinkFolder(), "/first/OLE DB/Data Links");
    const ScopedEnvironment second("XDG_DATA_HOME", "/second");
    EXPECT_EQ(DataLinkFolder(), "/second/OLE DB/Data Links");
}

struct PathCase {
    const char* path;
    const char* directory;
    const char* file;
};

class PathParts : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathParts, SplitAtTheLastSlash) {
    EXPECT_EQ(directoryPart(GetParam().path), GetParam().directory);
    EXPECT_EQ(fileNamePart(GetParam().path), GetParam().file);
}

// Backslashes and drive colons are plain characters outside Windows.
INSTANTIATE_TEST_SUITE_P(
    , PathParts,
    ::testing::Values(PathCase{"/a/b/c.udl", "/a/b/", "c.udl"}, PathCase{"c.udl", "", "c.udl"},
                      PathCase{"/c.udl", "/", "c.udl"}, PathCase{"a/", "a/", ""},
                      PathCase{"", "", ""}, PathCase{"C:c.udl", "", "C:c.udl"},
                      PathCase{"C:\\x\\c.udl", "", "C:\\x\\c.udl"},
                      PathCase{"/a b/ü;x=1/c d.udl", "/a b/ü;x=1/", "c d.udl"}));

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ListDataLinkFiles, TakesUdlFilesAndSkipsDirectoriesAndOtherExtensions) {
    const TemporaryFolder folder;
    folder.addFile("shop.udl");
    folder.addFile("Upper.UDL");
    folder.addFile(".hidden.udl");
    folder.addFile("notes.txt");
    folder.addFile("shop.udl.bak");
    folder.addFile("udl");
    folder.addFile("folder.udl/inner.udl");
    folder.addFile("sub/deeper.udl");
    ASSERT_EQ(mkfifo((folder.string() + "/pipe.udl").c_str(), 0600), 0);
    std::vector<std::string> list{"left over"};
    EXPECT_EQ(ListDataLinkFiles(list, folder.string()), 3);
    EXPECT_EQ(sorted(list), (std::vector<std::string>{".hidden.udl", "Upper.UDL", "shop.udl"}));
}

TEST(ListDataLinkFiles, UsesTheDataLinkFolderWhenNoneIsGiven) {
    const DataHome home;
    home.addDataLink("a.udl");
    home.addDataLink("b.udl");
    std::vector<std::string> list;
    EXPECT_EQ(ListDataLinkFiles(list, ""), 2);
    EXPECT_EQ(sorted(list), (std::vector<std::string>{"a.udl", "b.udl"}));
}

TEST(ListDataLinkFiles, MissingOrEmptyFolderGivesAnEmptyList) {
    const TemporaryFolder folder;
    std::vector<std::string> list{"left over"};
    EXPECT_EQ(ListDataLinkFiles(list, folder.string()), 0);
    EXPECT_EQ(ListDataLinkFiles(list, folder.string() + "/missing"), 0);
    EXPECT_TRUE(list.empty());
}

struct BrowseCase {
    const char* name;
    std::u16string initial;
    QString initialDirectory;
    std::optional<QString> answer;
    std::u16string result;
};

class BrowseDataLinkFileCase : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(BrowseDataLinkFileCase, AsksForUdlFilesInTheInitialDirectory) {
    const BrowseCase& c = GetParam();
    const ScopedEnvironment dataHome("XDG_DATA_HOME", "/home/me/data");
    ScriptedFileChooser chooser;
    chooser.answers.push_back(c.answer);
    EXPECT_EQ(BrowseDataLinkFile(nullptr, c.initial, chooser), c.result);
    ASSERT_EQ(chooser.requests.size(), 1U);
    EXPECT_EQ(chooser.requests[0].initialDirectory, c.initialDirectory);
    EXPECT_EQ(chooser.requests[0].filter, QStringLiteral("Data Link Files (*.udl)"));
    EXPECT_EQ(chooser.requests[0].choice, FileChoice::Existing);
}

INSTANTIATE_TEST_SUITE_P(
    , BrowseDataLinkFileCase,
    ::testing::Values(BrowseCase{"BareNameStartsInTheDataLinkFolder", u"shop.udl",
                                 "/home/me/data/OLE DB/Data Links/", "/d/other.udl",
                                 u"/d/other.udl"},
                      BrowseCase{"EmptyStartsInTheDataLinkFolder", u"",
                                 "/home/me/data/OLE DB/Data Links/", "/d/x.udl", u"/d/x.udl"},
                      BrowseCase{"PathStartsInItsDirectory", u"/data/links/shop.udl",
                                 "/data/links/", "/data/links/b.udl", u"/data/links/b.udl"},
                      BrowseCase{"CancelKeepsTheInitialFile", u"/data/links/shop.udl",
                                 "/data/links/", std::nullopt, u"/data/links/shop.udl"},
                      BrowseCase{"CancelKeepsABareName", u"shop.udl",
                                 "/home/me/data/OLE DB/Data Links/", std::nullopt, u"shop.udl"},
                      BrowseCase{"WideTextSurvives", u"/daten/\u00fcber/\u4e2d.udl",
                                 "/daten/\u00fcber/", "/daten/\u00fcber/\u6587.udl",
                                 u"/daten/\u00fcber/\u6587.udl"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// Qt's chooser takes what the choice allows, with columns wide enough for what they show.
struct ChooserCase {
    const char* name;
    FileChoice choice;
    const char* typed;
    const char* chosen;
};

class QtFileChooserCase : public ::testing::TestWithParam<ChooserCase> {};

TEST_P(QtFileChooserCase, TakesWhatTheChoiceAllowsAndShowsWholeColumns) {
    const TemporaryFolder folder;
    folder.addFile("old.udl", std::string(302, 'x'));
    ModalAnswer<QFileDialog> answer([&](QFileDialog& dialog) {
        const auto* files = dialog.findChild<QTreeView*>();
        ASSERT_NE(files, nullptr);
        // Sizes follow the folder's contents as they arrive.
        EXPECT_TRUE(QTest::qWaitFor([files] {
            const QModelIndex root = files->rootIndex();
            bool whole = files->model()->rowCount(root) == 1;
            for (int column = 0; whole && column < files->model()->columnCount(root); ++column) {
                whole = files->header()->sectionSize(column) >=
                        files->fontMetrics().horizontalAdvance(
                            files->model()->index(0, column, root).data().toString());
            }
            return whole;
        }));
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(GetParam().typed);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    QtFileChooser chooser;
    EXPECT_EQ(chooser.chooseFile(nullptr, "Choose", QString::fromStdString(folder.string()),
                                 "Data Link Files (*.udl)", GetParam().choice),
              QString::fromStdString(folder.string() + "/" + GetParam().chosen));
}

INSTANTIATE_TEST_SUITE_P(
    , QtFileChooserCase,
    ::testing::Values(ChooserCase{"Existing", FileChoice::Existing, "old.udl", "old.udl"},
                      ChooserCase{"ExistingOrNew", FileChoice::ExistingOrNew, "new.db", "new.db"},
                      ChooserCase{"SaveAddsTheExtension", FileChoice::Save, "new", "new.udl"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

QTextBrowser* showConnectionStringHelp(QWidget& owner) {
    return qobject_cast<QTextBrowser*>(ShowHelpTopic(&owner, ConnectionStringHelpContext));
}

TEST(HelpTopics, TheEditorTopicDescribesBothModesWithExamplesToCopy) {
    QWidget owner;
    QTextBrowser* browser = showConnectionStringHelp(owner);
    ASSERT_NE(browser, nullptr);
    browser->selectAll();
    browser->copy();
    const QString copied = QGuiApplication::clipboard()->text();
    for (const char* text :
         {"Use Data Link File", "Use Connection String",
          "FILE NAME=", "Driver={SQLite3};Database=/home/me/music.sqlite;",
          "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432;Database=shop;Uid=me;Pwd=secret;",
          "Driver={MariaDB Unicode};Server=127.0.0.1;Port=3306;Database=shop;Uid=me;Pwd=secret;",
          "Provider=SQLOLEDB;Data Source=dbhost,1433;Initial Catalog=shop;User "
          "ID=sa;Password=secret"}) {
        EXPECT_TRUE(copied.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_TRUE(helpTopicHtml(1).isEmpty());
}

TEST(HelpTopics, ExamplesWrapOnlyAfterASemicolon) {
    QWidget owner;
    QTextBrowser* browser = showConnectionStringHelp(owner);
    ASSERT_NE(browser, nullptr);
    int wrapped = 0;
    for (const int width : {600, 420, 320}) {
        browser->resize(width, 460);
        const QTextDocument* document = browser->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            const QString text = block.text();
            if (!text.startsWith("Driver=") && !text.startsWith("Provider=")) {
                continue;
            }
            const QTextLayout* layout = block.layout();
            for (int i = 0; i + 1 < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                QString shown = text.mid(line.textStart(), line.textLength());
                shown.remove(QChar(0x200B)).remove(QChar(0x2060));
                EXPECT_TRUE(shown.endsWith(';')) << width << ": " << shown.toStdString();
                ++wrapped;
            }
        }
    }
    EXPECT_GT(wrapped, 0) << "some example is wider than the window";
}

TEST(HelpTopics, OpensBesideItsOwner) {
    QWidget owner;
    owner.setGeometry(10, 20, 150, 100);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QWidget* window = ShowHelpTopic(&owner, ConnectionStringHelpContext);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->frameGeometry().left(), owner.frameGeometry().right() + 1);
    EXPECT_FALSE(window->frameGeometry().intersects(owner.frameGeometry()));
}

struct PlacementCase {
    const char* name;
    Placement placement;
    QRect screen;
    QRect other;
    QRect placed;
};

class WindowPlacementRule : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(WindowPlacementRule, PlacesTheFrame) {
    const PlacementCase& c = GetParam();
    EXPECT_EQ(placedFrame(c.placement, QSize(600, 460), c.screen, c.other), c.placed);
}

const QRect wide(0, 0, 1920, 1080);
const QRect small(0, 0, 1024, 768);

const PlacementCase placementCases[] = {
    {"ScreenCentre", Placement::ScreenCentre, wide, {0, 0, 100, 100}, {660, 310, 600, 460}},
    {"OverWindow", Placement::OverWindow, wide, {100, 200, 400, 200}, {0, 70, 600, 460}},
    {"OverWindowKeptOnTheScreen",
     Placement::OverWindow,
     wide,
     {100, 100, 400, 200},
     {0, 0, 600, 460}},
    {"LargerThanTheScreenKeepsItsTopLeftOnIt",
     Placement::ScreenCentre,
     {0, 0, 560, 400},
     {},
     {0, 0, 600, 460}},
    {"BesideOnTheRight",
     Placement::BesideWindow,
     wide,
     {700, 400, 500, 200},
     {1200, 270, 600, 460}},
    {"BesideOnTheLeft", Placement::BesideWindow, wide, {1300, 400, 500, 200}, {700, 270, 600, 460}},
    {"BesideKeptBelowTheTop",
     Placement::BesideWindow,
     wide,
     {700, 0, 500, 100},
     {1200, 0, 600, 460}},
    {"BesideKeptAboveTheBottom",
     Placement::BesideWindow,
     wide,
     {700, 980, 500, 100},
     {1200, 620, 600, 460}},
    {"NoRoomBesideCentresOnIt",
     Placement::BesideWindow,
     small,
     {275, 272, 474, 210},
     {212, 147, 600, 460}},
    {"NoOtherWindowCentresOnTheScreen", Placement::BesideWindow, small, {}, {212, 154, 600, 460}},
};

INSTANTIATE_TEST_SUITE_P(, WindowPlacementRule, ::testing::ValuesIn(placementCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(HelpTopics, ShowsOneWindowPerOwnerAndNothingForUnknownTopics) {
    QWidget owner;
    EXPECT_EQ(ShowHelpTopic(&owner, 4711), nullptr);
    QWidget* window = ShowHelpTopic(&owner, ConnectionStringHelpContext);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(ShowHelpTopic(&owner, ConnectionStringHelpContext), window);
    EXPECT_EQ(owner.findChildren<QTextBrowser*>().size(), 1);
    EXPECT_TRUE(qobject_cast<QTextBrowser*>(window)->toPlainText().contains("MariaDB"));
    const QPointer<QWidget> shown = window;
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.isNull() || !shown->isVisible(); }));
}

} // namespace
