#pragma once

#include "platform/BrowseDataLinkFile.h"

#include <QString>
#include <string>

class QWidget;

// The data link services that the connection string editor calls, so that a
// test can stand in for the user behind each of them.
class DataLinkServices {
public:
    virtual ~DataLinkServices() = default;

    virtual std::u16string BrowseDataLinkFile(QWidget* parent,
                                              const std::u16string& initialFile) = 0;
    virtual std::u16string RunDataLinkProperties(QWidget* parent,
                                                 const std::u16string& initialString) = 0;
    virtual void ShowHelp(QWidget* parent, int helpContext) = 0;
    // The error report of a click handler that failed; the dialog stays open.
    virtual void ReportError(QWidget* parent, const QString& text) = 0;
};

// The program's own services: the file chooser, the data link property
// dialog and the help window. Reporting errors is left to the program.
class StandardDataLinkServices : public DataLinkServices {
public:
    explicit StandardDataLinkServices(FileChooser& chooser) : chooser_(chooser) {}

    std::u16string BrowseDataLinkFile(QWidget* parent, const std::u16string& initialFile) override;
    std::u16string RunDataLinkProperties(QWidget* parent,
                                         const std::u16string& initialString) override;
    void ShowHelp(QWidget* parent, int helpContext) override;

protected:
    FileChooser& chooser() noexcept { return chooser_; }

private:
    FileChooser& chooser_;
};
