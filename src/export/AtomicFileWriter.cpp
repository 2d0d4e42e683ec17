#include "export/AtomicFileWriter.h"

#include "localization/AppText.h"

#include <QSaveFile>

namespace tallybrook {

QString FileWriteError::localizedDescription(std::optional<AppLanguage> language) const {
    return AppText::formatted(u"file.writeFailed", language, {path_, reason_});
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Never fall back to writing the target in place: that is what could leave it truncated.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        throw FileWriteError(path, file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileWriteError(path, reason);
    }
    if (!file.commit()) {
        throw FileWriteError(path, file.errorString());
    }
}

} // namespace tallybrook
