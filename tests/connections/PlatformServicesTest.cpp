#include "TestSupport.h"
#include "platform/BrowseDataLinkFile.h"
#include "platform/DataLinkFiles.h"
#include "platform/DataLinkFolder.h"
#include "platform/FilePaths.h"
#include "platform/HelpTopics.h"

#include <QTextBrowser>
#include <algorithm>
#include <gtest/gtest.h>

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
    ScriptedFileChooser chooser;
    chooser.answers.push_back(c.answer);
    EXPECT_EQ(BrowseDataLinkFile(nullptr, c.initial, chooser), c.result);
    ASSERT_EQ(chooser.requests.size(), 1U);
    EXPECT_EQ(chooser.requests[0].initialDirectory, c.initialDirectory);
    EXPECT_EQ(chooser.requests[0].filter, QStringLiteral("Data Link Files (*.udl)"));
}

INSTANTIATE_TEST_SUITE_P(
    , BrowseDataLinkFileCase,
    ::testing::Values(
        BrowseCase{"BareNameHasNoDirectory", u"shop.udl", "", "/d/other.udl", u"/d/other.udl"},
        BrowseCase{"EmptyHasNoDirectory", u"", "", "/d/x.udl", u"/d/x.udl"},
        BrowseCase{"PathStartsInItsDirectory", u"/data/links/shop.udl", "/data/links/",
                   "/data/links/b.udl", u"/data/links/b.udl"},
        BrowseCase{"CancelKeepsTheInitialFile", u"/data/links/shop.udl", "/data/links/",
                   std::nullopt, u"/data/links/shop.udl"},
        BrowseCase{"CancelKeepsABareName", u"shop.udl", "", std::nullopt, u"shop.udl"},
        BrowseCase{"WideTextSurvives", u"/daten/\u00fcber/\u4e2d.udl", "/daten/\u00fcber/",
                   "/daten/\u00fcber/\u6587.udl", u"/daten/\u00fcber/\u6587.udl"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(HelpTopics, TheEditorTopicDescribesBothModesWithExamples) {
    const QString page = helpTopicHtml(ConnectionStringHelpContext);
    for (const char* text :
         {"Use Data Link File", "Use Connection String", "FILE NAME=", "Driver={SQLite3}",
          "Driver={PostgreSQL Unicode}", "Driver={MariaDB Unicode}", "Provider=SQLOLEDB"}) {
        EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_TRUE(helpTopicHtml(1).isEmpty());
}

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
}

} // namespace
