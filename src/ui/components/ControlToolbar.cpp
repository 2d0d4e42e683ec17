#include "ui/components/ControlToolbar.h"

#include "ui/style/Palette.h"

#include <QHBoxLayout>
#include <QPainter>

namespace tallybrook {

ControlToolbar::ControlToolbar(QWidget* parent)
    : QFrame(parent)
    , layout_(new QHBoxLayout(this)) {
    layout_->setContentsMargins(16, 10, 16, 10);
    layout_->setSpacing(12);
}

void ControlToolbar::addWidget(QWidget* widget, int stretch) {
    layout_->addWidget(widget, stretch);
}

void ControlToolbar::addStretch() {
    layout_->addStretch(1);
}

void ControlToolbar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Palette::outline(), 1));
    painter.setBrush(Palette::barBackground());
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
}

} // namespace tallybrook
