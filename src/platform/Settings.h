#pragma once

#include <optional>

#include <QString>

namespace kav {

// The per-user store that stands in for HKEY_CURRENT_USER\Software\Brenvak\Localisation: a
// QSettings file of organisation "Brenvak", application "Localisation". Value names are program
// paths, kept verbatim by percent-encoding them, since a raw slash would open a settings group.
enum class SettingsWriteResult {
    Written,
    // The store cannot be opened for writing (the key could not be opened or created).
    StoreUnavailable,
    // The store was open but the value did not reach it.
    WriteFailed,
};

// Writes Data as the value named ValueName and flushes the store to disk.
SettingsWriteResult WriteLocalisationValue(const QString& ValueName, const QString& Data);

// Reads the value back; the program itself never does, but whoever checks the store does.
std::optional<QString> ReadLocalisationValue(const QString& ValueName);

// The file behind the store.
QString LocalisationSettingsFile();

// The key under which a value name is stored in the settings file.
QString LocalisationSettingsKey(const QString& ValueName);

// The user's option "Switch the keyboard with the language": off until turned on, since the
// desktop's keyboard layout is otherwise the translator's to keep. Kept in the same store, in a
// group no value name can reach (value names are percent-encoded paths without a raw slash).
bool KeyboardSwitchingEnabled();
// Stores the option; false when it could not be written.
bool SetKeyboardSwitching(bool On);

// The error text for a value that could not be written: Failed to set data for '<name>'.
QString FailedToSetDataMessage(const QString& ValueName);

} // namespace kav
