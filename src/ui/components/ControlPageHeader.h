#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace tallybrook {

class SymbolTile;

/// The head of a page: a 42 px tinted symbol tile, the title over the subtitle, and trailing
/// content (buttons, a badge, a pill) at the right end.
class ControlPageHeader : public QWidget {
    Q_OBJECT

public:
    ControlPageHeader(const QString& symbol, const QColor& tint, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    /// An empty subtitle hides the line.
    void setSubtitle(const QString& subtitle);
    void setSymbol(const QString& symbol, const QColor& tint);
    void addTrailing(QWidget* widget);

    QString title() const;
    QString subtitle() const;

private:
    SymbolTile* tile_;
    QLabel* title_;
    QLabel* subtitle_;
    QHBoxLayout* trailing_;
};

} // namespace tallybrook
