#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace tallybrook {

/// The user's preferences store: text and data values by key.
///
/// A value keeps the kind it was written with: reading a data value as text gives none and
/// the other way round. Implementations are safe to use from any thread. The SQLite store
/// lives in storage/; this interface sits at the bottom because the text lookup reads the
/// language preference from it.
class PreferencesStore {
public:
    virtual ~PreferencesStore() = default;

    virtual std::optional<QString> string(const QString& key) const = 0;
    virtual std::optional<QByteArray> data(const QString& key) const = 0;
    virtual void setString(const QString& key, const QString& value) = 0;
    virtual void setData(const QString& key, const QByteArray& value) = 0;
    virtual void remove(const QString& key) = 0;

    /// The process's standard store. Until one is installed it is an empty in-memory store.
    static std::shared_ptr<PreferencesStore> standard();
    /// Installs the process's standard store (the window installs the SQLite one at start).
    static void setStandard(std::shared_ptr<PreferencesStore> store);
};

/// A store that lives in memory only; used by tests and as the default standard store.
class InMemoryPreferencesStore final : public PreferencesStore {
public:
    std::optional<QString> string(const QString& key) const override;
    std::optional<QByteArray> data(const QString& key) const override;
    void setString(const QString& key, const QString& value) override;
    void setData(const QString& key, const QByteArray& value) override;
    void remove(const QString& key) override;

private:
    mutable QMutex mutex_;
    QHash<QString, QVariant> values_;
};

} // namespace tallybrook
