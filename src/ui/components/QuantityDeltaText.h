#pragma once

#include "ui/shell/Palette.h"

#include <QLabel>
#include <optional>

namespace tallybrook {

/// A signed quantity difference as text: "-" for none, "0", "+3", "-12"; positive ones blue and
/// negative ones red in semibold, none and zero in the secondary colour. Tables use
/// `presentation` for their cells so both show the same.
class QuantityDeltaText : public QLabel {
    Q_OBJECT

public:
    struct Presentation {
        QString text;
        bool semibold = false;
        Tint tint = Tint::secondary;

        bool operator==(const Presentation&) const = default;
    };

    static Presentation presentation(std::optional<qint64> value);

    explicit QuantityDeltaText(QWidget* parent = nullptr);
    void setValue(std::optional<qint64> value);
};

} // namespace tallybrook
