#include "os/ProgramLauncher.h"

#include "os/ProcessStarter.h"
#include "os/SettingsStore.h"
#include "os/UserDialogs.h"

#include <utility>

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

void ProgramLauncher::describe(const QString &name, const Kind &kind)
{
    m_kinds.insert(name.trimmed(), kind);
}

QString ProgramLauncher::label(const QString &name) const
{
    const QString label = m_kinds.value(name.trimmed()).label;
    return label.isEmpty() ? name.trimmed() : label;
}

QString ProgramLauncher::askForProgram(const QString &name, const QString &arguments)
{
    FileDialogRequest request;
    request.title = label(name) + QStringLiteral("ﾌｧｲﾙの設定");
    request.filters = {QStringLiteral("プログラム (*)")};
    request.proposedPath = m_proposed.value(name);
    const QStringList chosen = m_dialogs.chooseFiles(request);
    const QString path = chosen.isEmpty() ? QString() : chosen.first();
    if (path.isEmpty()) {
        QString text = label(name) + QStringLiteral("が選ばれなかったので、");
        text += arguments.isEmpty()
                    ? QStringLiteral("起動しませんでした。")
                    : QStringLiteral("次のファイルを開けませんでした。\n") + arguments;
        const QStringList lookedFor = m_kinds.value(name).lookedFor;
        if (!lookedFor.isEmpty())
            text += QStringLiteral("\n（探したプログラム: ") +
                    lookedFor.join(QStringLiteral("、")) + QStringLiteral("）");
        m_dialogs.inform(text, MessageIcon::Exclamation);
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
    QString firstChoice = m_kinds.value(program).firstChoice;

    for (int attempt = 0; attempt < 2; ++attempt) {
        QString path = rememberedPath(program);
        const bool usingFirstChoice = path == unknownPath() && !firstChoice.isEmpty();
        if (usingFirstChoice) {
            path = std::exchange(firstChoice, QString()); // tried once
        } else if (path == unknownPath()) {
            path = askForProgram(program, argumentText);
            if (path.isEmpty())
                return {};
        }
        QString error;
        if (m_starter.startDetached(path, argv, &error))
            return path;
        QString text =
            error + QLatin1Char('\n') + label(program) + QStringLiteral("を起動できませんでした。");
        if (!argumentText.isEmpty())
            text += QStringLiteral("\n開こうとしたファイル: ") + argumentText;
        m_dialogs.inform(text, MessageIcon::Exclamation);
        // A remembered program that does not start is forgotten, so the second attempt
        // lets the user choose another one instead of failing the same way again.
        if (!usingFirstChoice)
            forget(program);
    }
    return {};
}

} // namespace qel::os
