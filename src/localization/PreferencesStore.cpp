#include "localization/PreferencesStore.h"

#include <QMutexLocker>

#include <mutex>

namespace tallybrook {

namespace {

std::mutex standardMutex;

std::shared_ptr<PreferencesStore>& standardSlot() {
    static std::shared_ptr<PreferencesStore> store = std::make_shared<InMemoryPreferencesStore>();
    return store;
}

} // namespace

std::shared_ptr<PreferencesStore> PreferencesStore::standard() {
    std::lock_guard lock(standardMutex);
    return standardSlot();
}

void PreferencesStore::setStandard(std::shared_ptr<PreferencesStore> store) {
    std::lock_guard lock(standardMutex);
    standardSlot() = store ? std::move(store) : std::make_shared<InMemoryPreferencesStore>();
}

std::optional<QString> InMemoryPreferencesStore::string(const QString& key) const {
    QMutexLocker lock(&mutex_);
    const auto it = values_.constFind(key);
    if (it == values_.cend() || it->typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return it->toString();
}

std::optional<QByteArray> InMemoryPreferencesStore::data(const QString& key) const {
    QMutexLocker lock(&mutex_);
    const auto it = values_.constFind(key);
    if (it == values_.cend() || it->typeId() != QMetaType::QByteArray) {
        return std::nullopt;
    }
    return it->toByteArray();
}

void InMemoryPreferencesStore::setString(const QString& key, const QString& value) {
    QMutexLocker lock(&mutex_);
    values_.insert(key, QVariant(value));
}

void InMemoryPreferencesStore::setData(const QString& key, const QByteArray& value) {
    QMutexLocker lock(&mutex_);
    values_.insert(key, QVariant(value));
}

void InMemoryPreferencesStore::remove(const QString& key) {
    QMutexLocker lock(&mutex_);
    values_.remove(key);
}

} // namespace tallybrook
