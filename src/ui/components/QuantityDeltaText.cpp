#include "ui/components/QuantityDeltaText.h"

namespace tallybrook {

QuantityDeltaText::Presentation QuantityDeltaText::presentation(std::optional<qint64> value) {
    if (!value) {
        return {QStringLiteral("-"), false, Tint::secondary};
    }
    if (*value > 0) {
        return {u'+' + QString::number(*value), true, Tint::blue};
    }
    if (*value < 0) {
        return {QString::number(*value), true, Tint::red};
    }
    return {QStringLiteral("0"), false, Tint::secondary};
}

QuantityDeltaText::QuantityDeltaText(QWidget* parent)
    : QLabel(parent) {
    setValue(std::nullopt);
}

void QuantityDeltaText::setValue(std::optional<qint64> value) {
    const Presentation look = presentation(value);
    setText(look.text);
    QFont bold = font();
    bold.setWeight(look.semibold ? QFont::DemiBold : QFont::Normal);
    setFont(bold);
    Palette::setTextColor(*this, Palette::color(look.tint));
}

} // namespace tallybrook
