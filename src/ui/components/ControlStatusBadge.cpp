#include "ui/components/ControlStatusBadge.h"

#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QFontMetrics>
#include <QPainter>

namespace tallybrook {

namespace {

constexpr int horizontalPadding = 8;
constexpr int verticalPadding = 3;
constexpr int symbolGap = 4;

int symbolSize(const QFont& font) {
    return QFontMetrics(font).height() - 2;
}

QString shownTitle(const QString& title, const QFont& font, int maximumTitleWidth) {
    return maximumTitleWidth > 0 ? QFontMetrics(font).elidedText(title, Qt::ElideRight, maximumTitleWidth) : title;
}

} // namespace

ControlStatusBadge::ControlStatusBadge(QWidget* parent)
    : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ControlStatusBadge::setContent(const QString& title, const QColor& tint, const QString& symbol) {
    title_ = title;
    tint_ = tint;
    symbol_ = symbol;
    setAccessibleName(title);
    setToolTip(title);
    // A fixed-size widget: its parent must take the new size.
    updateGeometry();
    update();
}

QFont ControlStatusBadge::badgeFont(const QFont& base) {
    QFont font = Palette::font(Palette::TextStyle::caption, base);
    font.setWeight(QFont::DemiBold);
    return font;
}

QSize ControlStatusBadge::badgeSize(const QString& title, bool hasSymbol, const QFont& base, int maximumTitleWidth) {
    const QFont font = badgeFont(base);
    const QFontMetrics metrics(font);
    int width = horizontalPadding * 2 + metrics.horizontalAdvance(shownTitle(title, font, maximumTitleWidth));
    if (hasSymbol) {
        width += symbolSize(font) + symbolGap;
    }
    return {width, metrics.height() + verticalPadding * 2};
}

void ControlStatusBadge::paint(QPainter& painter, const QPoint& origin, const QString& title, const QColor& tint,
                               const QString& symbol, const QFont& base, qreal devicePixelRatio,
                               int maximumTitleWidth) {
    const QFont font = badgeFont(base);
    const QSize size = badgeSize(title, !symbol.isEmpty(), base, maximumTitleWidth);
    const QRectF capsule(origin, size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::withOpacity(tint, 0.11));
    painter.drawRoundedRect(capsule, size.height() / 2.0, size.height() / 2.0);
    int x = origin.x() + horizontalPadding;
    if (!symbol.isEmpty()) {
        const int side = symbolSize(font);
        painter.drawPixmap(x, origin.y() + (size.height() - side) / 2,
                           Symbols::pixmap(symbol, side, tint, devicePixelRatio));
        x += side + symbolGap;
    }
    painter.setFont(font);
    painter.setPen(tint);
    painter.drawText(QRect(x, origin.y(), size.width(), size.height()), Qt::AlignVCenter | Qt::AlignLeft,
                     shownTitle(title, font, maximumTitleWidth));
    painter.restore();
}

void ControlStatusBadge::setMaximumTitleWidth(int width) {
    maximumTitleWidth_ = width;
    updateGeometry();
    update();
}

QSize ControlStatusBadge::sizeHint() const {
    return badgeSize(title_, !symbol_.isEmpty(), font(), maximumTitleWidth_);
}

void ControlStatusBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QPoint(0, (height() - sizeHint().height()) / 2), title_, tint_, symbol_, font(),
          devicePixelRatioF(), maximumTitleWidth_);
}

} // namespace tallybrook
