#include "shell/StartupSettings.h"

#include "os/SettingsStore.h"

namespace qel::shell {

StartupSettings::StartupSettings(os::SettingsStore &store)
    : m_store(store)
{}

QString StartupSettings::read(const QString &key) const
{
    return m_store.value(application(), section(), key);
}

void StartupSettings::write(const QString &key, const QString &value)
{
    m_store.setValue(application(), section(), key, value);
}

} // namespace qel::shell
