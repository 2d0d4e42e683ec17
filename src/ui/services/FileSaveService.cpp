#include "ui/services/FileSaveService.h"

#include "export/AtomicFileWriter.h"
#include "localization/PreferencesStore.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace tallybrook {

namespace {

QString filterFor(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix.isEmpty()) {
        return {};
    }
    return suffix.toUpper() + QStringLiteral(" (*.") + suffix + u')';
}

// The user's documents folder, or the home folder when there is none: a dialog given a folder
// that does not exist opens in the process's working folder instead.
QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

FileSaveService::FileSaveService(std::shared_ptr<PreferencesStore> preferences, PathChooser chooser)
    : preferences_(std::move(preferences))
    , chooser_(std::move(chooser)) {
    if (!chooser_) {
        chooser_ = [](QWidget* parent, const QString& suggestedPath) -> std::optional<QString> {
            const QString path =
                QFileDialog::getSaveFileName(parent, QString(), suggestedPath, filterFor(suggestedPath));
            return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
        };
    }
}

QString FileSaveService::exportFolder() const {
    if (preferences_) {
        if (const std::optional<QString> folder = preferences_->string(lastFolderKey());
            folder && QFileInfo(*folder).isDir()) {
            return *folder;
        }
    }
    return documentsFolder();
}

FileSaveService::Outcome FileSaveService::save(QWidget* parent, const QByteArray& bytes,
                                               const QString& defaultFileName) {
    const std::optional<QString> path = chooser_(parent, QDir(exportFolder()).filePath(defaultFileName));
    if (!path) {
        return Outcome::cancelled;
    }
    writeFileAtomically(*path, bytes);
    if (preferences_) {
        preferences_->setString(lastFolderKey(), QFileInfo(*path).absolutePath());
    }
    return Outcome::saved;
}

OpenFileChooser dialogOpenFileChooser() {
    return [](QWidget* parent) -> std::optional<QString> {
        // The first dialog opens in the documents folder, later ones where the last file was
        // chosen, for as long as the application runs (main thread only).
        static QString lastFolder;
        const QString folder = QFileInfo(lastFolder).isDir() ? lastFolder : documentsFolder();
        // The .tallybrook type is JSON; both are offered, one file at a time.
        const QString path = QFileDialog::getOpenFileName(
            parent, QString(), folder,
            QStringLiteral(
                "Tallybrook, JSON (*.tallybrook *.json);;Tallybrook (*.tallybrook);;JSON (*.json)"));
        if (path.isEmpty()) {
            return std::nullopt;
        }
        lastFolder = QFileInfo(path).absolutePath();
        return path;
    };
}

} // namespace tallybrook
