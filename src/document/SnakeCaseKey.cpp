#include "document/SnakeCaseKey.h"

#include <QStringList>

namespace tallybrook {

namespace {

// Capitalises by code point so that a part starting with a character outside the BMP works.
QString capitalized(QStringView part) {
    const qsizetype firstLength = part.size() > 1 && part[0].isHighSurrogate() ? 2 : 1;
    return part.first(firstLength).toString().toUpper() + part.mid(firstLength).toString().toLower();
}

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

} // namespace

QString convertFromSnakeCase(QStringView key) {
    qsizetype first = 0;
    while (first < key.size() && key[first] == u'_') {
        ++first;
    }
    if (first == key.size()) {
        return key.toString();
    }
    qsizetype last = key.size() - 1;
    while (key[last] == u'_') {
        --last;
    }
    const QStringView middle = key.sliced(first, last - first + 1);
    const auto parts = middle.split(u'_', Qt::SkipEmptyParts);
    if (parts.size() <= 1) {
        return key.toString();
    }
    QString result = key.first(first).toString();
    result += parts.first().toString().toLower();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        result += capitalized(parts[i]);
    }
    result += key.sliced(last + 1);
    return result;
}

std::string_view convertFromSnakeCase(std::string_view key, std::string& buffer) {
    if (key.find('_') == std::string_view::npos) {
        return key;
    }
    if (!isAscii(key)) {
        // Unicode case mapping can turn a non-ASCII letter into an ASCII one; leave that to Qt.
        buffer = convertFromSnakeCase(QString::fromUtf8(key.data(), qsizetype(key.size()))).toStdString();
        return buffer;
    }
    const size_t first = key.find_first_not_of('_');
    if (first == std::string_view::npos) {
        return key;
    }
    const size_t last = key.find_last_not_of('_');
    buffer.clear();
    buffer.append(key.substr(0, first));
    size_t parts = 0;
    bool startOfPart = true;
    for (size_t i = first; i <= last; ++i) {
        const char c = key[i];
        if (c == '_') {
            startOfPart = true;
            continue;
        }
        if (startOfPart) {
            ++parts;
        }
        buffer.push_back(parts == 1 ? asciiLower(c) : startOfPart ? asciiUpper(c) : asciiLower(c));
        startOfPart = false;
    }
    if (parts <= 1) {
        return key;
    }
    buffer.append(key.substr(last + 1));
    return buffer;
}

} // namespace tallybrook
