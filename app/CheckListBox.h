#pragma once

#include "dbaccess/values/TStrings.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <functional>

class CheckListBox;

// The items of a check list as a string list, so that the data access layer
// can fill it directly.
class CheckListItems : public TStrings {
public:
    explicit CheckListItems(CheckListBox& list) : list_(list) {}

    void BeginUpdate() override;
    void EndUpdate() override;
    void Clear() override;
    void Add(const std::string& text) override;
    int Count() const override;
    std::string Strings(int index) const override;
    void SetStrings(int index, const std::string& text) override;

private:
    CheckListBox& list_;
};

// A list of items with tick boxes. onClick runs when the user changes the
// selection: a mouse click on an item (after a click on its box has toggled
// it), a navigation key, or type-ahead. The space bar toggles the current
// item's box without running it.
class CheckListBox : public QListWidget {
    Q_OBJECT

public:
    explicit CheckListBox(QWidget* parent = nullptr);

    // The first nameLength characters of text are a name, shortened in the
    // middle when the line does not fit (all of them when negative); the
    // whole line is the item's tooltip.
    void addItem(const QString& text, bool checked = false, qsizetype nameLength = -1);
    bool checked(int index) const;
    void setChecked(int index, bool checked);
    TStrings& Items() noexcept { return items_; }
    // Where the tick box of an item is drawn, in viewport coordinates.
    QRect checkBoxRect(int index) const;
    // The text shown for an item, its name shortened when the line is too long.
    QString shownText(int index) const;

    // Typing within this many milliseconds of the last key extends the search.
    static constexpr int typeAheadInterval = 500;

    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;

private:
    void click();
    bool typeAhead(const QString& text);
    void toggleCurrent();

    CheckListItems items_{*this};
    QString search_;
    QElapsedTimer lastKey_;
};
