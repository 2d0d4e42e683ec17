#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace tallybrook {

class PreferencesStore;

/// Saves the bytes of an export (CSV, PDF, send report) where the user chooses: a save dialog
/// offering the default file name in the folder of the last export, then an atomic write (an
/// existing file is replaced only by a complete new one, and stays intact on any failure).
///
/// A cancelled dialog is not an error. The last export folder is kept in the preferences. Main
/// thread.
class FileSaveService {
public:
    enum class Outcome { saved, cancelled };

    /// Asks where to save: the chosen path, or none when the user cancels.
    using PathChooser = std::function<std::optional<QString>(QWidget* parent, const QString& suggestedPath)>;

    /// `chooser` empty: the platform's save dialog.
    explicit FileSaveService(std::shared_ptr<PreferencesStore> preferences, PathChooser chooser = {});

    /// Throws FileWriteError when the file cannot be written.
    Outcome save(QWidget* parent, const QByteArray& bytes, const QString& defaultFileName);

    /// The folder offered next: the last export's, else the user's documents folder (the home
    /// folder when there is no documents folder).
    QString exportFolder() const;

    static QString lastFolderKey() { return QStringLiteral("com.tallybrook.control.last-export-folder"); }

private:
    std::shared_ptr<PreferencesStore> preferences_;
    PathChooser chooser_;
};

/// Asks for the inventory file to import: the chosen path, or none when the user cancels.
using OpenFileChooser = std::function<std::optional<QString>(QWidget* parent)>;

/// The platform's open dialog for `.tallybrook` and JSON files: first in the user's documents
/// folder, then in the folder of the last file chosen.
OpenFileChooser dialogOpenFileChooser();

} // namespace tallybrook
