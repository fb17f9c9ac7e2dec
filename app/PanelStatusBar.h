#pragma once

#include "BevelPanel.h"
#include "FramePacer.h"

#include <QWidget>
#include <functional>
#include <vector>

struct StatusPanel {
    QString text;
    int width = 50;
    Qt::Alignment alignment = Qt::AlignLeft;
    Bevel bevel = Bevel::Lowered;
    bool ownerDraw = false;
};

// A status bar of fixed-width panels side by side; the last one reaches the
// right edge. An owner-drawn panel is handed to onDrawPanel with its inner
// rectangle on every layout and repaint.
class PanelStatusBar : public QWidget {
    Q_OBJECT

public:
    using DrawPanel = std::function<void(PanelStatusBar* statusBar, int panel, const QRect& rect)>;

    explicit PanelStatusBar(QWidget* parent = nullptr);

    void setPanels(std::vector<StatusPanel> panels);
    int panelCount() const { return static_cast<int>(panels_.size()); }
    const StatusPanel& panel(int index) const {
        return panels_.at(static_cast<std::size_t>(index));
    }
    QString panelText(int index) const { return panel(index).text; }
    void setPanelText(int index, const QString& text);
    // The panel's area inside its bevel.
    QRect panelRect(int index) const;

    DrawPanel onDrawPanel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect outerRect(int index) const;
    void drawOwnerPanels();

    std::vector<StatusPanel> panels_;
    // Panels whose text changed since the last repaint, one bit each.
    unsigned changedPanels_ = 0;
    FramePacer repaints_;
};
