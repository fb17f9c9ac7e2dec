#include "TestSupport.h"
#include "connections/DataLinkPropertiesDialog.h"
#include "connections/EditConnectionString.h"
#include "connections/TConnEditForm.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/values/UnicodeText.h"
#include "dbaccess/values/Variant.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::u16string u(const std::string& text) {
    return utf8ToUtf16(text);
}

enum class Mode { DataLinkFile, ConnectionString };

bool isTabStop(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) != 0;
}

void pressKey(TConnEditForm& form, Qt::Key key) {
    QWidget* focus = form.focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &form, key);
}

Mode modeOf(const TConnEditForm& form) {
    EXPECT_NE(form.UseDataLinkFile->isChecked(), form.UseConnectionString->isChecked());
    return form.UseDataLinkFile->isChecked() ? Mode::DataLinkFile : Mode::ConnectionString;
}

class ConnEditFormTest : public ::testing::Test {
protected:
    // Runs the editor on initial; user acts on the shown dialog and closes it.
    std::u16string run(const std::u16string& initial,
                       const std::function<void(TConnEditForm&)>& user) {
        TConnEditForm form(services);
        ModalAnswer<TConnEditForm> answer(user);
        std::u16string result = form.RunEditor(initial);
        EXPECT_TRUE(answer.ran());
        return result;
    }

    std::string folder() const { return home.dataLinkFolder(); }

    DataHome home;
    TestDataLinkServices services;
};

// Loading and composing: what the dialog shows for a string, and what OK
// makes of it unchanged.
struct FormCase {
    const char* name;
    std::function<std::string(const std::string& folder)> initial;
    Mode mode;
    std::function<std::string(const std::string& folder)> dataLinkFile;
    std::function<std::string(const std::string& folder)> connectionString;
    std::function<std::string(const std::string& folder)> okResult;
};

std::string lowered(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

const std::string longPath = "/" + std::string(299, 'p');

const FormCase formCases[] = {
    {"ReferenceInTheFolderShowsTheName", [](auto& f) { return "FILE NAME=" + f + "/shop.udl"; },
     Mode::DataLinkFile, [](auto&) { return "shop.udl"; }, [](auto&) { return ""; },
     [](auto& f) { return "FILE NAME=" + f + "/shop.udl"; }},
    {"FolderInOtherCaseShowsTheWholePath",
     [](auto& f) { return "FILE NAME=" + lowered(f) + "/shop.udl"; }, Mode::DataLinkFile,
     [](auto& f) { return lowered(f) + "/shop.udl"; }, [](auto&) { return ""; },
     [](auto& f) { return "FILE NAME=" + lowered(f) + "/shop.udl"; }},
    {"SubfolderShowsTheWholePath", [](auto& f) { return "FILE NAME=" + f + "/old/shop.udl"; },
     Mode::DataLinkFile, [](auto& f) { return f + "/old/shop.udl"; }, [](auto&) { return ""; },
     [](auto& f) { return "FILE NAME=" + f + "/old/shop.udl"; }},
    {"BareNameGetsTheFolder", [](auto&) { return "FILE NAME=shop.udl"; }, Mode::DataLinkFile,
     [](auto&) { return "shop.udl"; }, [](auto&) { return ""; },
     [](auto& f) { return "FILE NAME=" + f + "/shop.udl"; }},
    {"RestIsNotParsed", [](auto&) { return "FILE NAME=/x/a.udl;User ID=me"; }, Mode::DataLinkFile,
     [](auto&) { return "/x/a.udl;User ID=me"; }, [](auto&) { return ""; },
     [](auto&) { return "FILE NAME=/x/a.udl;User ID=me"; }},
    {"PrefixAloneIsAnEmptyReference", [](auto&) { return "FILE NAME="; }, Mode::DataLinkFile,
     [](auto&) { return ""; }, [](auto&) { return ""; }, [](auto&) { return ""; }},
    {"LongReferenceIsCutAt260", [](auto&) { return "FILE NAME=" + longPath; }, Mode::DataLinkFile,
     [](auto&) { return longPath.substr(0, 260); }, [](auto&) { return ""; },
     [](auto&) { return "FILE NAME=" + longPath.substr(0, 260); }},
    {"LowerCasePrefixIsAString", [](auto&) { return "file name=/x/a.udl"; }, Mode::ConnectionString,
     [](auto&) { return ""; }, [](auto&) { return "file name=/x/a.udl"; },
     [](auto&) { return "file name=/x/a.udl"; }},
    {"BlankBeforeThePrefixIsAString", [](auto&) { return " FILE NAME=/x/a.udl"; },
     Mode::ConnectionString, [](auto&) { return ""; }, [](auto&) { return " FILE NAME=/x/a.udl"; },
     [](auto&) { return " FILE NAME=/x/a.udl"; }},
    {"PrefixLaterOnIsAString", [](auto&) { return "Driver={SQLite3};FILE NAME=/x/a.udl"; },
     Mode::ConnectionString, [](auto&) { return ""; },
     [](auto&) { return "Driver={SQLite3};FILE NAME=/x/a.udl"; },
     [](auto&) { return "Driver={SQLite3};FILE NAME=/x/a.udl"; }},
    {"EmptyStringIsAString", [](auto&) { return ""; }, Mode::ConnectionString,
     [](auto&) { return ""; }, [](auto&) { return ""; }, [](auto&) { return ""; }},
    {"PasswordShownMaskedAndKept", [](auto&) { return "Provider=MSDASQL.1;Pwd=s;Data Source=x "; },
     Mode::ConnectionString, [](auto&) { return ""; },
     [](auto&) { return "Provider=MSDASQL.1;Pwd=********;Data Source=x"; },
     [](auto&) { return "Provider=MSDASQL.1;Pwd=s;Data Source=x "; }},
    {"WideText", [](auto&) { return "FILE NAME=/d\xc3\xa4t\xc3\xa9n/\xe4\xb8\xad.udl"; },
     Mode::DataLinkFile, [](auto&) { return "/d\xc3\xa4t\xc3\xa9n/\xe4\xb8\xad.udl"; },
     [](auto&) { return ""; },
     [](auto&) { return "FILE NAME=/d\xc3\xa4t\xc3\xa9n/\xe4\xb8\xad.udl"; }},
};

class ConnEditFormCase : public ConnEditFormTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(ConnEditFormCase, LoadsAndComposes) {
    const FormCase& c = GetParam();
    const std::string f = folder();
    const std::u16string result = run(u(c.initial(f)), [&](TConnEditForm& form) {
        EXPECT_EQ(modeOf(form), c.mode);
        EXPECT_EQ(form.DataLinkFile->currentText().toStdString(), c.dataLinkFile(f));
        EXPECT_EQ(form.ConnectionString->text().toStdString(), c.connectionString(f));
        form.OkButton->click();
    });
    EXPECT_EQ(utf16ToUtf8(result), c.okResult(f));
}

INSTANTIATE_TEST_SUITE_P(, ConnEditFormCase, ::testing::ValuesIn(formCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

// Every way of closing the dialog but OK gives back the initial string,
// whatever was typed, browsed or built.
struct CloseCase {
    const char* name;
    std::function<void(TConnEditForm&)> close;
};

class ConnEditFormClose : public ConnEditFormTest,
                          public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ConnEditFormClose, AfterTypingReturnsTheInitialString) {
    const std::u16string initial = u"Driver={SQLite3};Database=/tmp/a.sqlite;";
    EXPECT_EQ(run(initial,
                  [&](TConnEditForm& form) {
                      form.ConnectionString->setText("Driver={SQLite3};Database=/tmp/b.sqlite;");
                      form.UseDataLinkFile->click();
                      form.DataLinkFile->setEditText("typed.udl");
                      GetParam().close(form);
                  }),
              initial);
}

TEST_P(ConnEditFormClose, AfterBrowseReturnsTheInitialString) {
    const std::u16string initial = u"FILE NAME=/links/a.udl";
    services.files.answers.push_back(QStringLiteral("/links/b.udl"));
    EXPECT_EQ(run(initial,
                  [&](TConnEditForm& form) {
                      form.Browse->click();
                      EXPECT_EQ(form.DataLinkFile->currentText(), "/links/b.udl");
                      GetParam().close(form);
                  }),
              initial);
}

TEST_P(ConnEditFormClose, AfterBuildReturnsTheInitialString) {
    const std::u16string initial = u"Driver={SQLite3};Database=/tmp/a.sqlite;";
    ModalAnswer<DataLinkPropertiesDialog> properties([](DataLinkPropertiesDialog& dialog) {
        dialog.DatabaseFileEdit->setText("/tmp/built.sqlite");
        dialog.Buttons->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(run(initial,
                  [&](TConnEditForm& form) {
                      form.Build->click();
                      EXPECT_EQ(form.ConnectionString->text(),
                                "Driver={SQLite3};Database=/tmp/built.sqlite;");
                      GetParam().close(form);
                  }),
              initial);
    EXPECT_TRUE(properties.ran());
}

INSTANTIATE_TEST_SUITE_P(
    , ConnEditFormClose,
    ::testing::Values(CloseCase{"Cancel", [](TConnEditForm& form) { form.CancelButton->click(); }},
                      CloseCase{"Escape",
                                [](TConnEditForm& form) { pressKey(form, Qt::Key_Escape); }},
                      CloseCase{"CloseBox", [](TConnEditForm& form) { form.close(); }}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(ConnEditFormTest, EnterConfirmsLikeOk) {
    EXPECT_EQ(run(u"old",
                  [](TConnEditForm& form) {
                      form.ConnectionString->setText("new");
                      QTest::keyClick(form.ConnectionString, Qt::Key_Return);
                  }),
              u"new");
    EXPECT_EQ(run(u"FILE NAME=/x/old.udl",
                  [](TConnEditForm& form) {
                      form.DataLinkFile->setEditText("/x/new.udl");
                      QTest::keyClick(form.DataLinkFile->lineEdit(), Qt::Key_Return);
                  }),
              u"FILE NAME=/x/new.udl");
}

TEST_F(ConnEditFormTest, OkUsesOnlyTheSelectedModeAndKeepsTheOtherText) {
    EXPECT_EQ(run(u"Driver={SQLite3};",
                  [&](TConnEditForm& form) {
                      form.UseDataLinkFile->click();
                      EXPECT_EQ(form.ConnectionString->text(), "Driver={SQLite3};");
                      form.DataLinkFile->setEditText("shop.udl");
                      form.UseConnectionString->click();
                      EXPECT_EQ(form.DataLinkFile->currentText(), "shop.udl");
                      form.UseDataLinkFile->click();
                      form.OkButton->click();
                  }),
              u("FILE NAME=" + folder() + "/shop.udl"));
    EXPECT_EQ(run(u"FILE NAME=/x/a.udl",
                  [&](TConnEditForm& form) {
                      form.UseConnectionString->click();
                      form.ConnectionString->setText("DSN=shop");
                      form.OkButton->click();
                  }),
              u"DSN=shop");
}

TEST_F(ConnEditFormTest, OnlyAFieldWithoutAPasswordIsPreselected) {
    for (const auto& [initial, selected] :
         {std::pair{u"DSN=x;PWD=secret", false}, std::pair{u"DSN=x", true}}) {
        run(initial, [selected](TConnEditForm& form) {
            EXPECT_EQ(form.ConnectionString->hasSelectedText(), selected);
            form.CancelButton->click();
        });
    }
}

TEST_F(ConnEditFormTest, EmptiedDataLinkFileGivesTheEmptyString) {
    EXPECT_EQ(run(u"FILE NAME=/x/a.udl",
                  [](TConnEditForm& form) {
                      form.DataLinkFile->setEditText("");
                      form.OkButton->click();
                  }),
              u"");
}

TEST_F(ConnEditFormTest, TypedFileTextIsUsedAsTyped) {
    EXPECT_EQ(run(u"",
                  [](TConnEditForm& form) {
                      form.UseDataLinkFile->click();
                      form.DataLinkFile->setEditText(" /no/such file.udl ");
                      form.OkButton->click();
                  }),
              u"FILE NAME= /no/such file.udl ");
}

TEST_F(ConnEditFormTest, ConnectionStringHasNoLengthLimit) {
    const std::string longString = "Driver={SQLite3};Database=/" + std::string(40000, 'x') + ";";
    EXPECT_EQ(run(u(longString),
                  [&](TConnEditForm& form) {
                      EXPECT_EQ(form.ConnectionString->text().size(),
                                static_cast<qsizetype>(longString.size()));
                      form.OkButton->click();
                  }),
              u(longString));
}

TEST_F(ConnEditFormTest, ModesSetEnablingColoursAndFocus) {
    const QColor buttonFace = QGuiApplication::palette().color(QPalette::Button);
    const QColor window = QGuiApplication::palette().color(QPalette::Base);
    const auto expectMode = [&](TConnEditForm& form, Mode mode) {
        const bool file = mode == Mode::DataLinkFile;
        EXPECT_EQ(modeOf(form), mode);
        EXPECT_EQ(form.DataLinkFile->isEnabled(), file);
        EXPECT_EQ(form.Browse->isEnabled(), file);
        EXPECT_EQ(form.ConnectionString->isEnabled(), !file);
        EXPECT_EQ(form.Build->isEnabled(), !file);
        EXPECT_EQ(form.DataLinkFile->palette().color(QPalette::Base), file ? window : buttonFace);
        EXPECT_EQ(form.ConnectionString->palette().color(QPalette::Base),
                  file ? buttonFace : window);
        QWidget* focus = form.focusWidget();
        QWidget* field = file ? static_cast<QWidget*>(form.DataLinkFile) : form.ConnectionString;
        EXPECT_TRUE(focus == field || field->isAncestorOf(focus));
        // Only the selected radio button is a tab stop.
        EXPECT_EQ(isTabStop(form.UseDataLinkFile), file);
        EXPECT_EQ(isTabStop(form.UseConnectionString), !file);
    };
    run(u"FILE NAME=/x/a.udl", [&](TConnEditForm& form) {
        expectMode(form, Mode::DataLinkFile);
        form.UseConnectionString->click();
        expectMode(form, Mode::ConnectionString);
        form.UseDataLinkFile->setChecked(true);
        expectMode(form, Mode::DataLinkFile);
        form.ConnectionString->setFocus();
        // A click on the selected button runs the handler again.
        form.UseDataLinkFile->click();
        expectMode(form, Mode::DataLinkFile);
        form.CancelButton->click();
    });
    run(u"DSN=x", [&](TConnEditForm& form) {
        expectMode(form, Mode::ConnectionString);
        form.CancelButton->click();
    });
}

TEST_F(ConnEditFormTest, AcceleratorsSwitchModes) {
    run(u"DSN=x", [&](TConnEditForm& form) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        // A mnemonic clicks its button after a short animation.
        QTest::keyClick(form.focusWidget(), Qt::Key_L, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.UseDataLinkFile->isChecked(); }));
        EXPECT_TRUE(form.DataLinkFile->isEnabled());
        QTest::keyClick(form.focusWidget(), Qt::Key_C, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.UseConnectionString->isChecked(); }));
        EXPECT_TRUE(form.ConnectionString->isEnabled());
        form.CancelButton->click();
    });
}

TEST_F(ConnEditFormTest, BrowseStartsFromTheFieldAndReplacesIt) {
    services.files.answers = {QStringLiteral("/chosen/one.udl"), std::nullopt};
    EXPECT_EQ(run(u"FILE NAME=bare.udl",
                  [&](TConnEditForm& form) {
                      form.Browse->click();
                      EXPECT_EQ(form.DataLinkFile->currentText(), "/chosen/one.udl");
                      // Cancelled: the field keeps its text.
                      form.Browse->click();
                      EXPECT_EQ(form.DataLinkFile->currentText(), "/chosen/one.udl");
                      form.OkButton->click();
                  }),
              u"FILE NAME=/chosen/one.udl");
    ASSERT_EQ(services.files.requests.size(), 2U);
    EXPECT_EQ(services.files.requests[0].initialDirectory, QString::fromStdString(folder() + "/"));
    EXPECT_EQ(services.files.requests[1].initialDirectory, QStringLiteral("/chosen/"));
    EXPECT_EQ(services.files.requests[0].filter, QStringLiteral("Data Link Files (*.udl)"));
}

TEST_F(ConnEditFormTest, BuildStartsFromTheFieldAndReplacesIt) {
    ModalAnswer<DataLinkPropertiesDialog> properties([](DataLinkPropertiesDialog& dialog) {
        EXPECT_EQ(dialog.ServerEdit->text(), "h");
        EXPECT_EQ(dialog.PasswordEdit->text(), "old");
        dialog.PasswordEdit->setText("new");
        dialog.Buttons->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(run(u"Driver={PostgreSQL Unicode};Server=h;Pwd=old;",
                  [&](TConnEditForm& form) {
                      form.Build->click();
                      form.OkButton->click();
                  }),
              u"Driver={PostgreSQL Unicode};Server=h;Pwd=new;");
    EXPECT_TRUE(properties.ran());
}

TEST_F(ConnEditFormTest, BuildCancelledKeepsTheField) {
    ModalAnswer<DataLinkPropertiesDialog> properties([](DataLinkPropertiesDialog& dialog) {
        dialog.ServerEdit->setText("elsewhere");
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(run(u"",
                  [&](TConnEditForm& form) {
                      form.ConnectionString->setText("DSN=typed");
                      form.Build->click();
                      EXPECT_EQ(form.ConnectionString->text(), "DSN=typed");
                      form.OkButton->click();
                  }),
              u"DSN=typed");
}

TEST_F(ConnEditFormTest, AFailingServiceIsReportedAndTheDialogStaysOpen) {
    services.files.failWith = "Interface not supported";
    run(u"FILE NAME=/x/a.udl", [&](TConnEditForm& form) {
        form.Browse->click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.DataLinkFile->currentText(), "/x/a.udl");
        form.CancelButton->click();
    });
    EXPECT_EQ(services.errors, std::vector<QString>{"Interface not supported"});
}

TEST_F(ConnEditFormTest, HelpAsksForTopic27270) {
    run(u"", [&](TConnEditForm& form) {
        EXPECT_EQ(form.HelpContext(), 27270);
        form.HelpButton->click();
        form.CancelButton->click();
    });
    EXPECT_EQ(services.helpContexts, std::vector<int>{27270});
}

TEST_F(ConnEditFormTest, ListsTheDataLinkFolderSortedWithoutCase) {
    home.addDataLink("orders.udl");
    home.addDataLink("Archive.udl");
    home.addDataLink("beta.UDL");
    home.addDataLink("readme.txt");
    TConnEditForm form(services);
    QStringList items;
    for (int i = 0; i < form.DataLinkFile->count(); ++i) {
        items << form.DataLinkFile->itemText(i);
    }
    EXPECT_EQ(items, QStringList({"Archive.udl", "beta.UDL", "orders.udl"}));
    EXPECT_EQ(form.DataLinkFile->currentText(), QString());
}

TEST_F(ConnEditFormTest, NoDataLinkFolderMeansTheRootFolder) {
    const ScopedEnvironment dataHome("XDG_DATA_HOME", std::nullopt);
    const ScopedEnvironment userHome("HOME", std::nullopt);
    EXPECT_EQ(run(u"FILE NAME=/shop.udl",
                  [](TConnEditForm& form) {
                      EXPECT_EQ(form.DataLinkFile->currentText(), "shop.udl");
                      form.DataLinkFile->setEditText("other.udl");
                      form.OkButton->click();
                  }),
              u"FILE NAME=/other.udl");
}

struct ControlCase {
    const char* name;
    const char* className;
    const char* caption;
    QRect geometry;
    bool inGroup;
};

TEST(ConnEditFormLayout, ControlsCaptionsAndPositions) {
    TestDataLinkServices services;
    TConnEditForm form(services);
    EXPECT_EQ(form.size(), QSize(472, 185));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinMaxButtonsHint);
    const ControlCase controls[] = {
        {"OkButton", "QPushButton", "OK", {214, 151, 75, 25}, false},
        {"CancelButton", "QPushButton", "Cancel", {302, 151, 75, 25}, false},
        {"HelpButton", "QPushButton", "&Help", {390, 151, 75, 25}, false},
        {"SourceofConnection", "QGroupBox", " Source of Connection ", {5, 4, 461, 136}, false},
        {"UseDataLinkFile", "QRadioButton", "Use Data &Link File", {10, 21, 226, 20}, true},
        {"DataLinkFile", "QComboBox", "", {28, 42, 332, 21}, true},
        {"Browse", "QPushButton", "&Browse...", {370, 39, 75, 25}, true},
        {"UseConnectionString", "QRadioButton", "Use &Connection String", {10, 73, 226, 20}, true},
        {"ConnectionString", "QLineEdit", "", {28, 94, 332, 21}, true},
        {"Build", "QPushButton", "B&uild...", {370, 92, 75, 25}, true},
    };
    for (const ControlCase& c : controls) {
        SCOPED_TRACE(c.name);
        auto* widget = form.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(c.className));
        EXPECT_EQ(widget->geometry(), c.geometry);
        EXPECT_EQ(widget->parentWidget(),
                  c.inGroup ? static_cast<QWidget*>(form.SourceofConnection) : &form);
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            caption = button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            caption = group->title();
        }
        EXPECT_EQ(caption, QString::fromLatin1(c.caption));
    }
    EXPECT_TRUE(form.OkButton->isDefault());
    EXPECT_TRUE(form.DataLinkFile->isEditable());
    EXPECT_FALSE(form.UseDataLinkFile->isChecked());
    EXPECT_FALSE(form.UseConnectionString->isChecked());
}

TEST(ConnEditFormLayout, TabOrder) {
    TestDataLinkServices services;
    TConnEditForm form(services);
    const QList<QWidget*> expected = {
        form.OkButton,     form.CancelButton, form.HelpButton,          form.UseDataLinkFile,
        form.DataLinkFile, form.Browse,       form.UseConnectionString, form.ConnectionString,
        form.Build};
    QList<QWidget*> order;
    QWidget* widget = form.OkButton;
    for (int i = 0; i < 64 && order.size() < expected.size(); ++i) {
        if (expected.contains(widget) && !order.contains(widget)) {
            order << widget;
        }
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(order, expected);
}

class EditConnectionStringTest : public ConnEditFormTest {
protected:
    // Runs EditConnectionString; user acts on the dialog and closes it.
    bool edit(const std::function<void(TConnEditForm&)>& user) {
        ModalAnswer<TConnEditForm> answer([&](TConnEditForm& form) {
            caption = form.windowTitle();
            user(form);
        });
        const bool written = EditConnectionString(connection, "MainForm", services);
        EXPECT_TRUE(answer.ran());
        return written;
    }

    TADOConnection connection{"ADOConnection1"};
    QString caption;
};

TEST_F(EditConnectionStringTest, StartUpPairShownAndKeptWhenConfirmedUnchanged) {
    connection.SetConnectionString("Connection");
    connection.SetProvider("MSDASQL.1");
    EXPECT_FALSE(edit([](TConnEditForm& form) {
        EXPECT_EQ(form.ConnectionString->text(), "Provider=MSDASQL.1;Data Source=Connection");
        form.OkButton->click();
    }));
    EXPECT_EQ(caption, "MainForm.ADOConnection1 ConnectionString");
    EXPECT_EQ(connection.ConnectionString(), "Provider=MSDASQL.1;Data Source=Connection");
    EXPECT_FALSE(connection.Connected());
}

struct WriteCase {
    const char* name;
    std::function<std::string(const std::string& folder)> before;
    std::function<void(TConnEditForm&)> user;
    std::function<std::string(const std::string& folder)> after;
    bool written;
};

class EditConnectionStringWrite : public EditConnectionStringTest,
                                  public ::testing::WithParamInterface<WriteCase> {};

TEST_P(EditConnectionStringWrite, WritesOnlyAChangedString) {
    const WriteCase& c = GetParam();
    connection.SetConnectionString(c.before(folder()));
    EXPECT_EQ(edit(c.user), c.written);
    EXPECT_EQ(connection.ConnectionString(), c.after(folder()));
}

const auto ok = [](TConnEditForm& form) { form.OkButton->click(); };

// The user edits the shown connection string and confirms it.
std::function<void(TConnEditForm&)> replaceText(const QString& before, const QString& after) {
    return [before, after](TConnEditForm& form) {
        form.ConnectionString->setText(form.ConnectionString->text().replace(before, after));
        form.OkButton->click();
    };
}

INSTANTIATE_TEST_SUITE_P(
    , EditConnectionStringWrite,
    ::testing::Values(
        WriteCase{"ReferenceInTheFolder", [](auto& f) { return "FILE NAME=" + f + "/a.udl"; }, ok,
                  [](auto& f) { return "FILE NAME=" + f + "/a.udl"; }, false},
        WriteCase{"FolderInOtherCase", [](auto& f) { return "FILE NAME=" + lowered(f) + "/a.udl"; },
                  ok, [](auto& f) { return "FILE NAME=" + lowered(f) + "/a.udl"; }, false},
        WriteCase{"BareNameGetsTheFolder", [](auto&) { return "FILE NAME=a.udl"; }, ok,
                  [](auto& f) { return "FILE NAME=" + f + "/a.udl"; }, true},
        WriteCase{"PrefixAloneBecomesEmpty", [](auto&) { return "FILE NAME="; }, ok,
                  [](auto&) { return ""; }, true},
        WriteCase{"LongReferenceIsShortened", [](auto&) { return "FILE NAME=" + longPath; }, ok,
                  [](auto&) { return "FILE NAME=" + longPath.substr(0, 260); }, true},
        WriteCase{"EmptyStaysEmpty", [](auto&) { return ""; }, ok, [](auto&) { return ""; }, false},
        WriteCase{"CaseChangeIsAChange", [](auto&) { return "DSN=shop"; },
                  [](TConnEditForm& form) {
                      form.ConnectionString->setText("DSN=Shop");
                      form.OkButton->click();
                  },
                  [](auto&) { return "DSN=Shop"; }, true},
        WriteCase{"CancelWritesNothing", [](auto&) { return "DSN=shop"; },
                  [](TConnEditForm& form) {
                      form.ConnectionString->setText("DSN=other");
                      form.CancelButton->click();
                  },
                  [](auto&) { return "DSN=shop"; }, false},
        WriteCase{"PasswordMaskLeftAsItIsKeepsThePassword",
                  [](auto&) { return "Driver={PostgreSQL Unicode};Server=h;Pwd={p;w};"; },
                  replaceText("Server=h", "Server=k"),
                  [](auto&) { return "Driver={PostgreSQL Unicode};Server=k;Pwd={p;w}"; }, true},
        WriteCase{"PasswordMaskInANestedString",
                  [](auto&) { return "Provider=MSDASQL.1;Extended Properties=\"DSN=x;PWD=s\""; },
                  replaceText("DSN=x", "DSN=y"),
                  [](auto&) { return "Provider=MSDASQL.1;Extended Properties=\"DSN=y;PWD=s\""; },
                  true},
        WriteCase{"PasswordTypedOverTheMask", [](auto&) { return "DSN=x;PWD=old"; },
                  replaceText("PWD=********", "PWD=new"), [](auto&) { return "DSN=x;PWD=new"; },
                  true},
        WriteCase{"EmptiedFileIsWritten", [](auto&) { return "FILE NAME=/x/a.udl"; },
                  [](TConnEditForm& form) {
                      form.DataLinkFile->setEditText("");
                      form.OkButton->click();
                  },
                  [](auto&) { return ""; }, true}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(EditConnectionStringCaption, OwnerDotNameConnectionString) {
    EXPECT_EQ(connectionStringCaption("MainForm", "ADOConnection2"),
              "MainForm.ADOConnection2 ConnectionString");
    EXPECT_EQ(connectionStringCaption("%1", "%2"), "%1.%2 ConnectionString");
}

} // namespace
