#include "platform/Settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace kav {

namespace {

QSettings OpenStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brenvak"),
                     QStringLiteral("Localisation"));
}

} // namespace

QString LocalisationSettingsKey(const QString& ValueName) {
    return QString::fromLatin1(QUrl::toPercentEncoding(ValueName));
}

SettingsWriteResult WriteLocalisationValue(const QString& ValueName, const QString& Data) {
    QSettings Store = OpenStore();
    if (!Store.isWritable())
        return SettingsWriteResult::StoreUnavailable;
    Store.setValue(LocalisationSettingsKey(ValueName), Data);
    Store.sync();
    if (Store.status() != QSettings::NoError)
        return SettingsWriteResult::WriteFailed;
    return SettingsWriteResult::Written;
}

std::optional<QString> ReadLocalisationValue(const QString& ValueName) {
    QSettings Store = OpenStore();
    const QVariant Value = Store.value(LocalisationSettingsKey(ValueName));
    if (!Value.isValid())
        return std::nullopt;
    return Value.toString();
}

namespace {
const QString KeyboardSwitchingKey = QStringLiteral("Options/SwitchKeyboard");
} // namespace

bool KeyboardSwitchingEnabled() {
    return OpenStore().value(KeyboardSwitchingKey, false).toBool();
}

bool SetKeyboardSwitching(bool On) {
    QSettings Store = OpenStore();
    Store.setValue(KeyboardSwitchingKey, On);
    Store.sync();
    return Store.status() == QSettings::NoError;
}

QString LocalisationSettingsFile() {
    return OpenStore().fileName();
}

QString FailedToSetDataMessage(const QString& ValueName) {
    return QStringLiteral("Failed to set data for '%1'").arg(ValueName);
}

} // namespace kav
