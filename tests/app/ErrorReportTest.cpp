#include "app/ErrorReport.h"

#include "FormFixture.h"
#include "app/ApplicationTitle.h"
#include "app/ProgramDataLinkServices.h"
#include "connections/TConnEditForm.h"
#include "dbaccess/values/Exceptions.h"
#include "tests/connections/TestSupport.h"

#include <QPushButton>
#include <stdexcept>

namespace {

struct FullStopCase {
    const char* name;
    const char* message;
    const char* shown;
};

class FullStopRule : public ::testing::TestWithParam<FullStopCase> {};

TEST_P(FullStopRule, AppendsAfterCharactersAboveThePeriod) {
    EXPECT_EQ(errorReportText(GetParam().message), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FullStopRule,
    ::testing::Values(
        FullStopCase{"Letter", "Connection failed", "Connection failed."},
        FullStopCase{"Digit", "count 5", "count 5."}, FullStopCase{"Slash", "path/", "path/."},
        FullStopCase{"Chinese", "請先", "請先."},
        FullStopCase{"Period", "Already ends.", "Already ends."},
        FullStopCase{"Quote", "Invalid object name 'orders'", "Invalid object name 'orders'"},
        FullStopCase{"Exclamation", "Stop!", "Stop!"},
        FullStopCase{"Parenthesis", "(none)", "(none)"}, FullStopCase{"Hyphen", "a-", "a-"},
        FullStopCase{"Blank", "trailing ", "trailing "}, FullStopCase{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<FullStopCase>& param) {
        return std::string(param.param.name);
    });

TEST(ExceptionMessage, ReadsTheLayersMessageAndAnyStandardException) {
    EXPECT_EQ(exceptionMessage(EDatabaseError("ADOTable2: Field 'price' not found")),
              "ADOTable2: Field 'price' not found");
    EXPECT_EQ(exceptionMessage(EOleException("Login failed for user 'sa'", -2147217843)),
              "Login failed for user 'sa'");
    EXPECT_EQ(exceptionMessage(std::out_of_range("range")), "range");
}

using DefaultErrorReport = FormFixture;

TEST_F(DefaultErrorReport, ShowsTheMessageUnderTheProgramsCaption) {
    form->onMove = [] { throw EOleException("Cannot open database velbrook", -2147467259); };
    form->btnMover->setEnabled(true);
    click(form->btnMover);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.shown[0].caption, "Velbrook");
    EXPECT_EQ(dialogs.shown[0].text, "Cannot open database velbrook.");

    // The progress title stays out of the caption.
    setApplicationTitle("Velbrook 0.1 T:50% R: 5%");
    form->onMove = [] { throw std::runtime_error("Stop!"); };
    click(form->btnMover);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].caption, "Velbrook");
    EXPECT_EQ(dialogs.shown[1].text, "Stop!");

    // The program goes on.
    form->AddMessage("still here");
    EXPECT_EQ(messages(), QStringList{"still here"});
}

// A failed Browse in the connection string editor is a failed handler too.
TEST(FailedBrowse, GoesToTheDefaultErrorReport) {
    RecordingDialogs dialogs;
    ScriptedFileChooser chooser;
    chooser.failWith = "Interface not supported";
    ProgramDataLinkServices services(chooser, dialogs);
    TConnEditForm form(services);
    ModalAnswer<TConnEditForm> answer([](TConnEditForm& editor) {
        editor.Browse->click();
        editor.CancelButton->click();
    });
    form.RunEditor(u"FILE NAME=/x/a.udl");
    ASSERT_TRUE(answer.ran());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.shown[0].caption, "Velbrook");
    EXPECT_EQ(dialogs.shown[0].text, "Interface not supported.");
}

TEST(RunHandler, NeverLetsAnExceptionOut) {
    RecordingDialogs dialogs;
    runHandler(dialogs, [] { throw 42; });
    runHandler(dialogs, [] {});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(dialogs.shown[0].text.isEmpty());
}

} // namespace
