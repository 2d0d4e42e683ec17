#include "ui/style/Symbols.h"

#include "ui/style/Palette.h"

#include <QHash>
#include <QPainter>
#include <QStandardPaths>

namespace tallybrook::Symbols {

namespace {

using Mapping = QHash<QString, QStringList>;

// Monochrome action and status icons of the freedesktop naming scheme (and Breeze's own names
// where the scheme has no such pictogram), closest in meaning to each symbol.
const Mapping& mapping() {
    static const Mapping table = [] {
        const std::initializer_list<std::pair<const char*, QStringList>> entries = {
            {"square.and.arrow.down", {QStringLiteral("document-import")}},
            {"square.and.arrow.up", {QStringLiteral("document-export")}},
            {"chart.bar.doc.horizontal", {QStringLiteral("office-chart-bar"), QStringLiteral("view-statistics")}},
            {"tablecells", {QStringLiteral("table"), QStringLiteral("view-list-details")}},
            {"plus.forwardslash.minus", {QStringLiteral("vcs-diff"), QStringLiteral("document-compareleft")}},
            {"barcode.viewfinder", {QStringLiteral("view-barcode")}},
            {"barcode", {QStringLiteral("view-barcode")}},
            {"qrcode", {QStringLiteral("view-barcode-qr")}},
            {"shippingbox", {QStringLiteral("package")}},
            {"shippingbox.fill", {QStringLiteral("package")}},
            {"network", {QStringLiteral("network-connect"), QStringLiteral("network-wired")}},
            {"checklist", {QStringLiteral("view-task"), QStringLiteral("view-pim-tasks")}},
            {"checklist.checked", {QStringLiteral("task-complete"), QStringLiteral("view-task")}},
            {"doc.text.magnifyingglass", {QStringLiteral("document-preview")}},
            {"doc.badge.arrow.up", {QStringLiteral("document-export")}},
            {"doc.badge.plus", {QStringLiteral("document-new")}},
            {"doc.richtext", {QStringLiteral("document-print")}},
            {"gearshape", {QStringLiteral("configure"), QStringLiteral("settings-configure")}},
            {"globe", {QStringLiteral("globe"), QStringLiteral("applications-internet")}},
            {"lock.shield", {QStringLiteral("security-high"), QStringLiteral("object-locked")}},
            {"folder", {QStringLiteral("document-open"), QStringLiteral("folder-open")}},
            {"exclamationmark.triangle.fill", {QStringLiteral("data-warning"), QStringLiteral("emblem-warning")}},
            {"exclamationmark.triangle", {QStringLiteral("data-warning"), QStringLiteral("emblem-warning")}},
            {"exclamationmark.circle", {QStringLiteral("emblem-important"), QStringLiteral("data-warning")}},
            {"checkmark.seal.fill", {QStringLiteral("approved"), QStringLiteral("vcs-normal")}},
            {"checkmark.circle.fill", {QStringLiteral("vcs-normal"), QStringLiteral("emblem-checked")}},
            {"xmark.circle.fill", {QStringLiteral("window-close"), QStringLiteral("gtk-no")}},
            {"xmark.octagon.fill", {QStringLiteral("data-error"), QStringLiteral("emblem-error")}},
            {"circle.dashed", {QStringLiteral("choice-round"), QStringLiteral("draw-circle")}},
            {"circle", {QStringLiteral("choice-round"), QStringLiteral("draw-circle")}},
            {"clock.badge.exclamationmark", {QStringLiteral("appointment-reminder"), QStringLiteral("clock")}},
            {"clock.arrow.circlepath", {QStringLiteral("view-history"), QStringLiteral("clock")}},
            {"hourglass", {QStringLiteral("chronometer"), QStringLiteral("clock")}},
            {"eye.slash", {QStringLiteral("view-hidden")}},
            {"mappin.and.ellipse", {QStringLiteral("mark-location"), QStringLiteral("find-location")}},
            {"wrench.and.screwdriver", {QStringLiteral("tools"), QStringLiteral("configure")}},
            {"tag", {QStringLiteral("tag")}},
            {"storefront", {QStringLiteral("go-home")}},
            {"key.fill", {QStringLiteral("dialog-password"), QStringLiteral("object-locked")}},
            {"key", {QStringLiteral("document-save")}},
            {"link.badge.plus", {QStringLiteral("insert-link"), QStringLiteral("link")}},
            {"equal.circle.fill", {QStringLiteral("media-record"), QStringLiteral("choice-round")}},
            {"minus.circle", {QStringLiteral("process-stop"), QStringLiteral("list-remove")}},
            {"paperplane", {QStringLiteral("document-send"), QStringLiteral("mail-send")}},
            {"paperplane.fill", {QStringLiteral("document-send"), QStringLiteral("mail-send")}},
            {"paperplane.circle.fill", {QStringLiteral("document-send"), QStringLiteral("mail-send")}},
            {"checkmark.square.fill", {QStringLiteral("task-complete"), QStringLiteral("checkbox")}},
            {"checkmark.square", {QStringLiteral("checkbox"), QStringLiteral("edit-select-all")}},
            {"arrow.clockwise", {QStringLiteral("view-refresh")}},
            {"ruler", {QStringLiteral("measure"), QStringLiteral("tool-measure")}},
            {"info.circle", {QStringLiteral("help-about"), QStringLiteral("data-information")}},
            {"magnifyingglass", {QStringLiteral("edit-find"), QStringLiteral("system-search")}},
        };
        Mapping result;
        for (const auto& [symbol, names] : entries) {
            result.insert(QString::fromLatin1(symbol), names);
        }
        return result;
    }();
    return table;
}

} // namespace

void installIconTheme() {
    // Without a desktop's platform theme Qt looks for icons in its resources only: add the
    // system's icon folders, where Breeze is installed.
    QStringList searchPaths = QIcon::themeSearchPaths();
    for (const QString& folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory)) {
        if (!searchPaths.contains(folder)) {
            searchPaths.append(folder);
        }
    }
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setFallbackThemeName(QStringLiteral("breeze"));
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor") {
        QIcon::setThemeName(QStringLiteral("breeze"));
    }
}

QStringList allSymbolNames() {
    QStringList names = mapping().keys();
    names.sort();
    return names;
}

QStringList iconNames(QStringView symbol) {
    return mapping().value(symbol.toString());
}

QIcon themeIcon(QStringView symbol) {
    for (const QString& name : iconNames(symbol)) {
        if (QIcon::hasThemeIcon(name)) {
            return QIcon::fromTheme(name);
        }
    }
    return {};
}

QPixmap pixmap(QStringView symbol, int size, const QColor& tint, qreal devicePixelRatio) {
    // Tables draw a symbol in every visible status cell on every repaint: render each one once.
    static QHash<QString, QPixmap> cache;
    const QString key = symbol + u'|' + QString::number(size) + u'|' + QString::number(tint.rgba(), 16) + u'|' +
                        QString::number(devicePixelRatio);
    if (const auto cached = cache.constFind(key); cached != cache.cend()) {
        return *cached;
    }
    const QSize pixels = QSize(size, size) * devicePixelRatio;
    QImage image = themeIcon(symbol).pixmap(pixels).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        image = QImage(pixels, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
    }
    // One colour like the rest of the window: every drawn pixel takes the tint, except the
    // white marks inside filled shapes (the "!" of a warning triangle, the tick of a filled
    // circle), which stay white.
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            if (alpha == 0) {
                continue;
            }
            const bool white = qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235;
            const QColor colour = white ? QColor(Qt::white) : tint;
            line[x] = qRgba(colour.red(), colour.green(), colour.blue(), alpha * tint.alpha() / 255);
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, result);
    return result;
}

QIcon icon(QStringView symbol, const QColor& tint) {
    QIcon result;
    for (const int size : {16, 22, 32}) {
        result.addPixmap(pixmap(symbol, size, tint), QIcon::Normal);
        result.addPixmap(pixmap(symbol, size, Palette::withOpacity(tint, 0.35)), QIcon::Disabled);
    }
    return result;
}

} // namespace tallybrook::Symbols
