#pragma once

#include <QSettings>
#include <QString>

namespace velmora {

// The per-user settings store: every value is a string under one application name and
// one section. Each write reaches the disk at once, because nothing is saved at exit.
class SettingsStore {
public:
    static constexpr const char* applicationName = "Tarnwick";
    static constexpr const char* sectionName = "Velmora";

    SettingsStore();

    // The stored string, or the default when the key is absent.
    QString read(const QString& key, const QString& defaultValue) const;
    // Creates or replaces the value; false when the store could not be written (the
    // callers have no failure path, but tests want to know).
    bool write(const QString& key, const QString& value);

private:
    mutable QSettings settings_;
};

// The text-to-integer rule for stored numbers: surrounding blanks are ignored, a decimal
// number is rounded half to even. Anything else throws, so a damaged value is reported
// by the error trap of whoever reads it.
int textToInteger(const QString& text);

} // namespace velmora
