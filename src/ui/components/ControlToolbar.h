#pragma once

#include <QFrame>

class QHBoxLayout;

namespace tallybrook {

/// A horizontal strip (12 px spacing) on the bar colour, inset by 16 px horizontally and 10 px
/// vertically, for search fields, filters and action buttons.
class ControlToolbar : public QFrame {
    Q_OBJECT

public:
    explicit ControlToolbar(QWidget* parent = nullptr);

    QHBoxLayout* contentLayout() const { return layout_; }
    void addWidget(QWidget* widget, int stretch = 0);
    void addStretch();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* layout_;
};

} // namespace tallybrook
