#include "export/LabelFileName.h"

#include "core/TextRules.h"

#include <QStringList>

namespace tallybrook {

namespace {

using namespace Qt::StringLiterals;

constexpr qsizetype maximumLocationLength = 100;

bool separatesPieces(QChar c) {
    switch (c.unicode()) {
    case u'/':
    case u':':
    case u'\\':
    case u'?':
    case u'%':
    case u'*':
    case u'|':
    case u'"':
    case u'<':
    case u'>':
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        // Line breaks, tabs and the other control characters: no file system wants them.
        return c.category() == QChar::Other_Control;
    }
}

} // namespace

QString safeLabelFileLocation(const QString& location) {
    QStringList pieces;
    QString piece;
    for (const QChar c : location) {
        if (separatesPieces(c)) {
            pieces.append(piece);
            piece.clear();
        } else {
            piece.append(c);
        }
    }
    pieces.append(piece);
    QString safe = trimmedText(pieces.join(u'-'));
    if (safe.size() > maximumLocationLength) {
        qsizetype cut = maximumLocationLength;
        if (safe.at(cut - 1).isHighSurrogate()) {
            --cut;
        }
        safe = trimmedText(safe.first(cut));
    }
    return safe;
}

QString labelSheetDefaultFileName(const std::optional<QString>& selectedLocation) {
    QString name = u"tallybrook-etiquettes"_s;
    if (selectedLocation) {
        const QString safe = safeLabelFileLocation(*selectedLocation);
        if (!safe.isEmpty()) {
            name += u'-' + safe;
        }
    }
    return name + u".pdf"_s;
}

} // namespace tallybrook
