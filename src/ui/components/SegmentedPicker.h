#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;

namespace tallybrook {

/// A row of joined toggle buttons of which exactly one is on: the language choice, the label
/// code kind. Each segment carries a title and an optional symbol.
class SegmentedPicker : public QWidget {
    Q_OBJECT

public:
    explicit SegmentedPicker(int segmentCount, QWidget* parent = nullptr);

    void setSegment(int index, const QString& title, const QString& symbol = {});
    int currentIndex() const;
    /// Selects a segment without announcing it.
    void setCurrentIndex(int index);
    QAbstractButton* button(int index) const;

signals:
    /// The user chose a segment.
    void activated(int index);

private:
    QButtonGroup* group_;
};

} // namespace tallybrook
