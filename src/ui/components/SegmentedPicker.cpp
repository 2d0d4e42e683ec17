#include "ui/components/SegmentedPicker.h"

#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QToolButton>

namespace tallybrook {

namespace {

/// One segment: flat, joined to its neighbours, the chosen one raised on white.
class Segment : public QToolButton {
public:
    Segment(bool first, bool last)
        : first_(first)
        , last_(last) {
        setCheckable(true);
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setMinimumHeight(28);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath path;
        const qreal r = 7;
        path.addRoundedRect(area.adjusted(first_ ? 0 : -r, 0, last_ ? 0 : r, 0), r, r);
        QPainterPath clip;
        clip.addRect(area);
        painter.setClipPath(clip);
        painter.setPen(QPen(Palette::outline(), 1));
        painter.setBrush(isChecked() ? QColor(Qt::white) : Palette::barBackground());
        painter.drawPath(path);
        if (isChecked()) {
            painter.setPen(QPen(Palette::withOpacity(Palette::blue(), 0.55), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(area.adjusted(1.5, 1.5, -1.5, -1.5), r - 1, r - 1);
        }
        if (hasFocus()) {
            painter.setPen(QPen(Palette::blue(), 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(area.adjusted(2, 2, -2, -2), r - 2, r - 2);
        }
        painter.setClipping(false);
        QFont label = font();
        label.setWeight(isChecked() ? QFont::DemiBold : QFont::Normal);
        painter.setFont(label);
        painter.setPen(isEnabled() ? Palette::primaryText() : Palette::secondary());
        const int iconSize = icon().isNull() ? 0 : 16;
        const int textWidth = painter.fontMetrics().horizontalAdvance(text());
        const int total = textWidth + (iconSize ? iconSize + 6 : 0);
        int x = (width() - total) / 2;
        if (iconSize) {
            icon().paint(&painter, QRect(x, (height() - iconSize) / 2, iconSize, iconSize));
            x += iconSize + 6;
        }
        painter.drawText(QRect(x, 0, textWidth + 2, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
    }

    QSize sizeHint() const override {
        const int iconWidth = icon().isNull() ? 0 : 22;
        return {fontMetrics().horizontalAdvance(text()) + iconWidth + 28, 28};
    }

private:
    bool first_;
    bool last_;
};

} // namespace

SegmentedPicker::SegmentedPicker(int segmentCount, QWidget* parent)
    : QWidget(parent)
    , group_(new QButtonGroup(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < segmentCount; ++i) {
        auto* segment = new Segment(i == 0, i == segmentCount - 1);
        group_->addButton(segment, i);
        row->addWidget(segment);
    }
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, &SegmentedPicker::activated);
}

void SegmentedPicker::setSegment(int index, const QString& title, const QString& symbol) {
    QAbstractButton* segment = group_->button(index);
    segment->setText(title);
    segment->setAccessibleName(title);
    if (!symbol.isEmpty()) {
        segment->setIcon(Symbols::icon(symbol, Palette::primaryText()));
    }
    segment->updateGeometry();
}

int SegmentedPicker::currentIndex() const {
    return group_->checkedId();
}

void SegmentedPicker::setCurrentIndex(int index) {
    if (QAbstractButton* segment = group_->button(index)) {
        segment->setChecked(true);
    }
}

QAbstractButton* SegmentedPicker::button(int index) const {
    return group_->button(index);
}

} // namespace tallybrook
