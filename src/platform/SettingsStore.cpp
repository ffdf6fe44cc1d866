#include "SettingsStore.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace velmora {

SettingsStore::SettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope,
                QString::fromLatin1(applicationName)) {}

QString SettingsStore::read(const QString& key, const QString& defaultValue) const {
    // QSettings caches what other instances wrote in this process; sync picks up what
    // another process wrote meanwhile.
    settings_.sync();
    const QString fullKey = QString::fromLatin1(sectionName) + QLatin1Char('/') + key;
    if (!settings_.contains(fullKey))
        return defaultValue;
    return settings_.value(fullKey).toString();
}

bool SettingsStore::write(const QString& key, const QString& value) {
    settings_.setValue(QString::fromLatin1(sectionName) + QLatin1Char('/') + key, value);
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

int textToInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double number = trimmed.toDouble(&ok);
    // toDouble also takes "inf" and "nan", which are no numbers to a user.
    if (!ok || !std::isfinite(number))
        throw std::runtime_error("Type mismatch");
    const double rounded = std::nearbyint(number); // the default rounding: half to even
    if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max())
        throw std::runtime_error("Overflow");
    return static_cast<int>(rounded);
}

} // namespace velmora
