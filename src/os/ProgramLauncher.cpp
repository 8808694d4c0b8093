#include "os/ProgramLauncher.h"

#include "os/ProcessStarter.h"
#include "os/SettingsStore.h"
#include "os/UserDialogs.h"

namespace qel::os {

ProgramLauncher::ProgramLauncher(SettingsStore &settings, UserDialogs &dialogs,
                                 ProcessStarter &starter)
    : m_settings(settings)
    , m_dialogs(dialogs)
    , m_starter(starter)
{}

QString ProgramLauncher::rememberedPath(const QString &name) const
{
    return m_settings.value(settingsApplication(), settingsSection(), name.trimmed(),
                            unknownPath());
}

void ProgramLauncher::remember(const QString &name, const QString &path)
{
    m_settings.setValue(settingsApplication(), settingsSection(), name.trimmed(), path);
}

void ProgramLauncher::forget(const QString &name)
{
    m_settings.remove(settingsApplication(), settingsSection(), name.trimmed());
}

void ProgramLauncher::setProposedProgram(const QString &name, const QString &path)
{
    m_proposed.insert(name.trimmed(), path);
}

QString ProgramLauncher::askForProgram(const QString &name, const QString &arguments)
{
    FileDialogRequest request;
    request.title = name + QStringLiteral("ﾌｧｲﾙの設定");
    request.filters = {name + QStringLiteral(" (*)")};
    request.proposedPath = m_proposed.value(name);
    const QStringList chosen = m_dialogs.chooseFiles(request);
    const QString path = chosen.isEmpty() ? QString() : chosen.first();
    if (path.isEmpty()) {
        m_dialogs.inform(QStringLiteral("キャンセルされました。\n") + name +
                             QStringLiteral(" or ") + arguments,
                         MessageIcon::Exclamation);
        return {};
    }
    remember(name, path);
    return path;
}

QString ProgramLauncher::launch(const QString &name, QString &arguments)
{
    const QString program = name.trimmed();
    const QString argumentText = arguments.trimmed();
    arguments = QLatin1Char('"') + argumentText + QLatin1Char('"');
    const QStringList argv = argumentText.isEmpty() ? QStringList() : QStringList{argumentText};

    for (int attempt = 0; attempt < 2; ++attempt) {
        QString path = rememberedPath(program);
        if (path == unknownPath()) {
            path = askForProgram(program, argumentText);
            if (path.isEmpty())
                return {};
        }
        QString error;
        if (m_starter.startDetached(path, argv, &error))
            return path;
        m_dialogs.inform(error + QLatin1Char('\n') + program + QStringLiteral(" or ") + arguments +
                             QLatin1Char('\n'),
                         MessageIcon::Exclamation);
        // A remembered program that does not start is forgotten, so the second attempt
        // lets the user choose another one instead of failing the same way again.
        forget(program);
    }
    return {};
}

} // namespace qel::os
