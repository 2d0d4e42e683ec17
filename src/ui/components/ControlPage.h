#pragma once

#include <QWidget>

class QScrollArea;
class QVBoxLayout;

namespace tallybrook {

/// The body of a page: a full-width, leading-aligned column of content with the given spacing,
/// inset by 24 px. It scrolls vertically; pages built around a table that scrolls itself turn
/// scrolling off and let the table take the remaining height.
class ControlPage : public QWidget {
    Q_OBJECT

public:
    enum class Scrolling { vertical, none };

    explicit ControlPage(int spacing, Scrolling scrolling = Scrolling::vertical, QWidget* parent = nullptr);

    QVBoxLayout* contentLayout() const { return layout_; }
    void addWidget(QWidget* widget, int stretch = 0);
    /// Pushes what follows to the bottom (or ends a scrolling column at the top).
    void addStretch();

private:
    QScrollArea* scrollArea_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
};

} // namespace tallybrook
