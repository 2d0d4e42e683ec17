#include "localization/AppText.h"

#include "localization/PreferencesStore.h"

#include <QFile>
#include <QHash>

#include <array>
#include <mutex>

namespace tallybrook::AppText {

namespace {

struct TextTable {
    std::array<QList<Entry>, 2> entries;
    std::array<QHash<QString, QString>, 2> byKey;
};

int tableIndex(AppLanguage language) {
    return language == AppLanguage::french ? 0 : 1;
}

// The table is data (TextTable.tsv, one "key<TAB>French<TAB>English" line per key) compiled in
// as a Qt resource, read once per process and never changed afterwards.
const TextTable& textTable() {
    static const TextTable table = [] {
        TextTable result;
        QFile file(QStringLiteral(":/tallybrook/localization/TextTable.tsv"));
        if (!file.open(QIODevice::ReadOnly)) {
            return result;
        }
        const QString content = QString::fromUtf8(file.readAll());
        const auto lines = QStringView(content).split(u'\n', Qt::SkipEmptyParts);
        for (const QStringView line : lines) {
            const auto fields = line.split(u'\t');
            if (fields.size() != 3) {
                continue;
            }
            const QString key = fields[0].toString();
            for (int i = 0; i < 2; ++i) {
                const QString text = fields[i + 1].toString();
                result.entries[i].append({key, text});
                result.byKey[i].insert(key, text);
            }
        }
        return result;
    }();
    return table;
}

std::mutex providerMutex;
PreferredLanguagesProvider& providerSlot() {
    static PreferredLanguagesProvider provider;
    return provider;
}

} // namespace

QStringList preferredLanguages() {
    PreferredLanguagesProvider provider;
    {
        std::lock_guard lock(providerMutex);
        provider = providerSlot();
    }
    return provider ? provider() : systemPreferredLanguages();
}

void setPreferredLanguagesProvider(PreferredLanguagesProvider provider) {
    std::lock_guard lock(providerMutex);
    providerSlot() = std::move(provider);
}

bool hasKey(QStringView key) {
    return textTable().byKey[0].contains(key.toString());
}

AppLanguagePreference currentPreference() {
    const auto stored = PreferencesStore::standard()->string(QString::fromUtf16(languagePreferenceStorageKey));
    if (!stored) {
        return AppLanguagePreference::automatic;
    }
    return appLanguagePreferenceFromRawValue(*stored).value_or(AppLanguagePreference::automatic);
}

AppLanguage currentLanguage() {
    return resolvedLanguage(currentPreference(), preferredLanguages());
}

const QList<Entry>& table(AppLanguage language) {
    return textTable().entries[tableIndex(language)];
}

QString localized(QStringView key, std::optional<AppLanguage> language) {
    const AppLanguage resolved = language.value_or(currentLanguage());
    const QString keyText = key.toString();
    const TextTable& texts = textTable();
    if (const auto it = texts.byKey[tableIndex(resolved)].constFind(keyText);
        it != texts.byKey[tableIndex(resolved)].cend()) {
        return *it;
    }
    if (const auto it = texts.byKey[0].constFind(keyText); it != texts.byKey[0].cend()) {
        return *it;
    }
    return keyText;
}

QString applyFormat(const QString& format, AppLanguage language, std::initializer_list<FormatArg> args) {
    const QLocale numberLocale = [&] {
        QLocale l = locale(language);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    QString result;
    result.reserve(format.size() + 16);
    auto next = args.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != u'%' || i + 1 >= format.size()) {
            result.append(c);
            continue;
        }
        const QChar spec = format.at(i + 1);
        if (spec == u'%') {
            result.append(u'%');
            ++i;
        } else if (spec == u'd' || spec == u'@') {
            if (next != args.end()) {
                const auto& value = next->value();
                if (const auto* number = std::get_if<qint64>(&value)) {
                    result.append(numberLocale.toString(*number));
                } else {
                    result.append(std::get<QString>(value));
                }
                ++next;
            }
            ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

QString formatted(QStringView key, std::optional<AppLanguage> language, std::initializer_list<FormatArg> args) {
    const AppLanguage resolved = language.value_or(currentLanguage());
    return applyFormat(localized(key, resolved), resolved, args);
}

} // namespace tallybrook::AppText
