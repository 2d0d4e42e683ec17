#pragma once

#include <QFrame>

class QVBoxLayout;

namespace tallybrook {

/// A card: a column of content (12 px apart) inset by `padding`, on a near-white rounded
/// surface with a thin outline and a soft shadow.
class ControlPanel : public QFrame {
    Q_OBJECT

public:
    explicit ControlPanel(int padding = 18, QWidget* parent = nullptr);

    QVBoxLayout* contentLayout() const { return layout_; }
    void addWidget(QWidget* widget, int stretch = 0);

    /// Paints the card surface (outline and shadow included) inside `rect`: shared with the
    /// tiles and the empty state, which are cards of their own shape.
    static void paintCard(QPainter& painter, const QRectF& rect, qreal radius = 12);
    /// Room the shadow needs around a card.
    static constexpr int shadowMargin = 3;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* layout_;
};

} // namespace tallybrook
