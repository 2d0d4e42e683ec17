#include "ui/components/ControlPanel.h"

#include "ui/style/Palette.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tallybrook {

ControlPanel::ControlPanel(int padding, QWidget* parent)
    : QFrame(parent)
    , layout_(new QVBoxLayout(this)) {
    const int margin = padding + shadowMargin;
    layout_->setContentsMargins(margin, margin, margin, margin);
    layout_->setSpacing(12);
}

void ControlPanel::addWidget(QWidget* widget, int stretch) {
    layout_->addWidget(widget, stretch);
}

void ControlPanel::paintCard(QPainter& painter, const QRectF& rect, qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A soft shadow: black at about 5 %, spread over a few pixels below the card.
    painter.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        painter.setBrush(QColor(0, 0, 0, 5 + (3 - i) * 2));
        painter.drawRoundedRect(rect.adjusted(-i + 1, -i + 2, i - 1, i), radius + i, radius + i);
    }
    painter.setBrush(Palette::cardBackground());
    painter.setPen(QPen(Palette::outline(), 1));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void ControlPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCard(painter, QRectF(rect()).adjusted(shadowMargin, shadowMargin - 1, -shadowMargin, -shadowMargin - 1));
}

} // namespace tallybrook
