#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

// The message list: one line per event, the newest selected and in view.
// Rows are of one height and only those in view are painted, so a line is
// added in the same time however many there are.
class MessageList : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit MessageList(QWidget* parent = nullptr);

    // Appends a line, selects it and scrolls it into view.
    void addLine(const QString& text);
    void clear();

    int count() const noexcept { return static_cast<int>(lines_.size()); }
    QString line(int row) const { return lines_.at(row); }
    int currentRow() const noexcept { return current_; }
    void setCurrentRow(int row);

    // The first row in view and the number of rows shown whole.
    int topRow() const;
    int rowsInView() const;
    int rowAt(int y) const;
    int rowHeight() const;

signals:
    void lineAdded(const QString& text);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void updateScrollRange();
    void scrollToRow(int row);

    QStringList lines_;
    int current_ = -1;
};
