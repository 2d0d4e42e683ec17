#pragma once

#include "core/ModelDecodingError.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QUuid>
#include <optional>

namespace tallybrook {

/// Seconds (with fraction) between 2001-01-01T00:00:00Z and `date`: the form in which every
/// persisted record of the application writes its instants. Millisecond precision, like
/// QDateTime. An invalid QDateTime (no clock produces one) counts as the reference instant.
double referenceSecondsFromDate(const QDateTime& date);
/// The UTC instant `seconds` after 2001-01-01T00:00:00Z, rounded to the millisecond; an
/// invalid QDateTime when `seconds` is not finite or lies beyond the range of QDateTime.
QDateTime dateFromReferenceSeconds(double seconds);

/// JSON forms shared by every persisted record. Integers keep all 64 bits: QJsonValue stores a
/// qint64 as an integer and QJsonDocument writes and reads it back digit for digit, so values
/// beyond 2^53 survive where a double would not.
QJsonValue jsonInteger(qint64 value);
/// Upper-case canonical UUID text.
QJsonValue jsonUuid(const QUuid& uuid);
/// Seconds since the reference instant, see referenceSecondsFromDate.
QJsonValue jsonDate(const QDateTime& date);

/// Writes an optional field in its JSON form; a field that is none is left out.
void insertOptional(QJsonObject& object, const QString& key, const std::optional<QString>& value);
void insertOptional(QJsonObject& object, const QString& key, const std::optional<qint64>& value);
void insertOptional(QJsonObject& object, const QString& key, const std::optional<bool>& value);
void insertOptional(QJsonObject& object, const QString& key, const std::optional<QUuid>& value);
void insertOptional(QJsonObject& object, const QString& key, const std::optional<QDateTime>& value);

/// Strict reading of the members of one JSON object into record fields.
///
/// A required member that is missing, null or of the wrong type throws ModelDecodingError; an
/// optional member that is missing or null reads as none, and one of the wrong type throws.
/// Integers must be whole numbers within the qint64 range (a fraction is rejected). UUIDs
/// must be canonical 8-4-4-4-12 text. `recordName` only names the record in error texts.
class JsonObjectReader {
public:
    JsonObjectReader(const QJsonObject& object, QString recordName);

    QString requiredString(QStringView key) const;
    std::optional<QString> optionalString(QStringView key) const;
    qint64 requiredInteger(QStringView key) const;
    std::optional<qint64> optionalInteger(QStringView key) const;
    bool requiredBool(QStringView key) const;
    std::optional<bool> optionalBool(QStringView key) const;
    QUuid requiredUuid(QStringView key) const;
    std::optional<QUuid> optionalUuid(QStringView key) const;
    QDateTime requiredDate(QStringView key) const;
    std::optional<QDateTime> optionalDate(QStringView key) const;
    QJsonObject requiredObject(QStringView key) const;
    QJsonArray requiredArray(QStringView key) const;

    /// The member, or an undefined value when missing (null stays null).
    QJsonValue value(QStringView key) const { return object_.value(key); }
    [[noreturn]] void fail(QStringView key, QStringView problem) const;

    /// Conversions of single values, shared with array readers.
    static std::optional<qint64> integerValue(const QJsonValue& value);
    static std::optional<QUuid> uuidValue(const QJsonValue& value);
    static std::optional<QDateTime> dateValue(const QJsonValue& value);

private:
    /// The member when present and not null.
    std::optional<QJsonValue> present(QStringView key) const;
    QJsonValue required(QStringView key) const;

    QJsonObject object_;
    QString recordName_;
};

} // namespace tallybrook
