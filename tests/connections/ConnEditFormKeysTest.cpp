#include "TestSupport.h"
#include "connections/DataLinkPropertiesDialog.h"
#include "connections/TConnEditForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Enter on a focused button presses that button, not OK.
struct FocusedEnterCase {
    const char* name;
    const char16_t* initial;
    QPushButton* TConnEditForm::*button;
    bool staysOpen;
    std::u16string result;
};

class ConnEditFormFocusedEnter : public ::testing::TestWithParam<FocusedEnterCase> {
protected:
    DataHome home;
    TestDataLinkServices services;
};

TEST_P(ConnEditFormFocusedEnter, PressesTheFocusedButton) {
    const FocusedEnterCase& c = GetParam();
    ModalAnswer<DataLinkPropertiesDialog> properties(
        [](DataLinkPropertiesDialog& dialog) { dialog.reject(); });
    bool open = false;
    TConnEditForm form(services);
    ModalAnswer<TConnEditForm> answer([&](TConnEditForm& shown) {
        shown.ConnectionString->setText("DSN=changed");
        shown.DataLinkFile->setEditText("changed.udl");
        QPushButton* button = shown.*c.button;
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        open = shown.isVisible();
        if (open) {
            shown.CancelButton->click();
        }
    });
    const std::u16string result = form.RunEditor(c.initial);
    ASSERT_TRUE(answer.ran());
    EXPECT_EQ(open, c.staysOpen);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(services.helpContexts.size(), c.button == &TConnEditForm::HelpButton ? 1U : 0U);
    EXPECT_EQ(services.files.requests.size(), c.button == &TConnEditForm::Browse ? 1U : 0U);
    EXPECT_EQ(properties.ran(), c.button == &TConnEditForm::Build);
}

INSTANTIATE_TEST_SUITE_P(
    , ConnEditFormFocusedEnter,
    ::testing::Values(
        FocusedEnterCase{"Ok", u"DSN=old", &TConnEditForm::OkButton, false, u"DSN=changed"},
        FocusedEnterCase{"Cancel", u"DSN=old", &TConnEditForm::CancelButton, false, u"DSN=old"},
        FocusedEnterCase{"Help", u"DSN=old", &TConnEditForm::HelpButton, true, u"DSN=old"},
        FocusedEnterCase{"Build", u"DSN=old", &TConnEditForm::Build, true, u"DSN=old"},
        FocusedEnterCase{"Browse", u"FILE NAME=/x/old.udl", &TConnEditForm::Browse, true,
                         u"FILE NAME=/x/old.udl"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
