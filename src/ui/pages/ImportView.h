#pragma once

#include "ui/pages/PageView.h"

#include <QList>
#include <QUrl>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QVariantAnimation;

namespace tallybrook {

class ControlPageHeader;
class ControlPanel;
class SymbolLabel;
class SymbolTile;

/// The area of the import page that takes a dropped file: highlighted while a file is dragged
/// over it, showing "importing" with a busy bar while an import runs. A drop of a local file is
/// imported; any other drop is refused and changes nothing.
class DropZone : public QWidget {
    Q_OBJECT

public:
    explicit DropZone(QWidget* parent = nullptr);

    void setTexts(const QString& drop, const QString& release, const QString& importing, const QString& hint);
    void setImporting(bool importing);
    QString headline() const;
    bool isTargeted() const { return targeted_; }

signals:
    void fileDropped(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setTargeted(bool targeted);
    void updateHeadline();

    SymbolTile* tile_;
    QLabel* headline_;
    QLabel* hint_;
    QProgressBar* busy_;
    QVariantAnimation* highlight_;
    QString drop_;
    QString release_;
    QString importing_;
    bool targeted_ = false;
    bool isImporting_ = false;
};

/// The import page: open or drop a `.tallybrook` file, see the import's error, its warnings
/// and what was loaded. Stands on a decorative background that carries no data.
class ImportView : public PageView {
    Q_OBJECT

public:
    /// `openFile` asks for a file and imports it (the window's open command).
    ImportView(AppContext& context, std::function<void()> openFile, QWidget* parent = nullptr);

    void retranslate() override;
    DropZone* dropZone() const { return dropZone_; }

protected:
    void refresh() override;
    void paintEvent(QPaintEvent* event) override;

private:
    ControlPageHeader* header_;
    QPushButton* open_;
    SymbolLabel* error_;
    DropZone* dropZone_;
    ControlPanel* warningsPanel_;
    SymbolLabel* warningsHeading_;
    QWidget* warningLines_;
    ControlPanel* loadedPanel_;
    SymbolLabel* loadedHeading_;
    QList<std::pair<QLabel*, QLabel*>> loadedLines_;
};

} // namespace tallybrook
