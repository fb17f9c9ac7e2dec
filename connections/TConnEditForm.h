#pragma once

#include <QDialog>
#include <QPalette>
#include <array>
#include <string>

class DataLinkServices;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The connection string editor: a data link file or a literal connection
// string, one of them chosen by the two radio buttons.
class TConnEditForm : public QDialog {
    Q_OBJECT

public:
    explicit TConnEditForm(DataLinkServices& services, QWidget* parent = nullptr);

    // Loads initial, shows the dialog modally and returns the string that the
    // user confirmed with OK, else initial itself.
    std::u16string RunEditor(const std::u16string& initial);

    void SourceButtonClick();
    void BrowseClick();
    void BuildClick();
    void HelpButtonClick();

    int HelpContext() const noexcept { return helpContext_; }

    // The background of an input by its enabled state: button face, window.
    static constexpr std::array<QPalette::ColorRole, 2> EnabledColors = {QPalette::Button,
                                                                         QPalette::Base};

    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QGroupBox* SourceofConnection = nullptr;
    QRadioButton* UseDataLinkFile = nullptr;
    QComboBox* DataLinkFile = nullptr;
    QPushButton* Browse = nullptr;
    QRadioButton* UseConnectionString = nullptr;
    QLineEdit* ConnectionString = nullptr;
    QPushButton* Build = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void FormCreate();
    void fillDataLinkList();
    void runClick(void (TConnEditForm::*handler)());
    std::u16string composeResult() const;

    void showConnectionString(const std::string& connectionString);
    std::string typedConnectionString() const;

    DataLinkServices& services_;
    int helpContext_ = 0;
    // The string whose passwords the field shows as "********".
    std::string storedString_;
};
