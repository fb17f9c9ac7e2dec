#pragma once

#include <QColor>
#include <QWidget>
#include <utility>
#include <vector>

class QPainter;

enum class Bevel { None, Raised, Lowered };

// A plain panel with an outer and an inner bevel, a background colour and an
// optional caption centred in it, clear of the controls it holds.
class BevelPanel : public QWidget {
    Q_OBJECT

public:
    explicit BevelPanel(QWidget* parent = nullptr);

    void setBevels(Bevel outer, Bevel inner);
    void setColor(const QColor& color);
    void setCaption(const QString& caption);
    void setCaptionColor(const QColor& color);

    QString caption() const { return caption_; }
    QColor color() const { return color_; }
    QColor captionColor() const { return captionColor_; }
    // Where the caption goes: centred, or centred in the widest free stretch
    // between the panel's controls when one of them is in the way.
    QRect captionRect() const;
    // Keeps a child at left while the panel has room for it there, and as far
    // right as the panel allows when it is narrower, so that it stays whole.
    void keepWithin(QWidget* child, int left);

    // Room left between a kept child and the panel's edge.
    static constexpr int edgeRoom = 4;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect innerArea() const;
    void placeKeptChildren();

    Bevel outer_ = Bevel::Raised;
    Bevel inner_ = Bevel::None;
    QColor color_;
    QColor captionColor_ = Qt::black;
    QString caption_;
    std::vector<std::pair<QWidget*, int>> kept_;
};

// Draws a one-pixel bevel on the rectangle's edge.
void drawBevel(QPainter& painter, const QRect& rect, Bevel bevel);
