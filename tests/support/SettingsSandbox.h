#pragma once

#include "SettingsStore.h"

#include <QSettings>

namespace velmora::testing {

// Empties the settings store. Each test program has a store of its own (its own
// XDG_CONFIG_HOME), so this only undoes what earlier tests of the same program wrote.
inline void clearSettingsStore() {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromLatin1(SettingsStore::applicationName));
    settings.clear();
    settings.sync();
}

} // namespace velmora::testing
