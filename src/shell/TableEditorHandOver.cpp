#include "shell/TableEditorHandOver.h"

#include "os/PathParts.h"
#include "os/ProcessStarter.h"
#include "os/UserDialogs.h"
#include "shell/ProgramState.h"
#include "shell/StartupSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qel::shell {

namespace {

// LibreOffice's CSV import options: tab (9) between fields, '"' (34) around text, the
// character set, the first line 1, no column formats, Japanese (1041) for numbers and dates.
// 64 is Shift_JIS (CP932), 76 UTF-8.
QString libreOfficeFilter(bool utf8)
{
    return QStringLiteral("--infilter=Text - txt - csv (StarCalc):9,34,%1,1,,1041,false,false")
        .arg(utf8 ? 76 : 64);
}

bool startsWithByteOrderMark(const QString &file)
{
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly))
        return false;
    return f.read(3) == QByteArray("\xEF\xBB\xBF", 3);
}

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

TableEditorHandOver::TableEditorHandOver(ProgramState &state, StartupSettings &settings,
                                         os::UserDialogs &dialogs, os::ProcessStarter &starter,
                                         QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_starter(starter)
{}

QStringList TableEditorHandOver::spreadsheetNames()
{
    return {QStringLiteral("localc"), QStringLiteral("libreoffice"), QStringLiteral("soffice"),
            QStringLiteral("gnumeric")};
}

QString TableEditorHandOver::findSpreadsheet(const QStringList &folders)
{
    for (const QString &name : spreadsheetNames()) {
        for (const QString &folder : folders) {
            const QString path = QDir(folder).filePath(name);
            if (isExecutableFile(path))
                return path;
        }
    }
    return QString();
}

bool TableEditorHandOver::isLibreOffice(const QString &editor)
{
    const QString name = QFileInfo(editor).fileName().toLower();
    return name == u"localc" || name.startsWith(u"libreoffice") || name.startsWith(u"soffice");
}

QStringList TableEditorHandOver::editorArguments(const QString &editor, const QString &tableFile)
{
    if (!isLibreOffice(editor))
        return {tableFile};
    return {QStringLiteral("--calc"), libreOfficeFilter(startsWithByteOrderMark(tableFile)),
            tableFile};
}

QString TableEditorHandOver::templatePath() const
{
    return QDir(m_state.qelDir).filePath(QStringLiteral("formQel.Tbx"));
}

QString TableEditorHandOver::editorPath() const
{
    return m_state.tableEditorPath;
}

bool TableEditorHandOver::editorSet() const
{
    return !m_state.tableEditorPath.isEmpty() && m_state.tableEditorPath != notSet();
}

void TableEditorHandOver::setButtons(const TableEditorButtons &buttons)
{
    if (buttons == m_buttons)
        return;
    m_buttons = buttons;
    emit buttonsChanged();
}

bool TableEditorHandOver::chooseEditor()
{
    os::FileDialogRequest request;
    request.title = QStringLiteral("qelPro  エディター設定");
    request.filters = {QStringLiteral("表計算プログラム (localc libreoffice soffice gnumeric)"),
                       QStringLiteral("all      (*)")};
    const QString folder =
        editorSet() ? QFileInfo(m_state.tableEditorPath).absolutePath() : m_programFolders.value(0);
    const QString proposed =
        editorSet() ? m_state.tableEditorPath : findSpreadsheet(m_programFolders);
    request.proposedPath = proposed.isEmpty() ? folder + u'/' : proposed;
    const QStringList chosen = m_dialogs.chooseFiles(request);
    if (chosen.isEmpty()) {
        m_tempo = QStringLiteral("cancel");
        emit tempoChanged(m_tempo);
        if (m_state.tableEditorPath.isEmpty()) {
            m_state.tableEditorPath = notSet();
            m_settings.setTableEditor(m_state.tableEditorPath);
        }
        return false;
    }
    const QString path = chosen.first();
    if (!isExecutableFile(path)) {
        m_dialogs.inform(path + QStringLiteral("\nは実行できるプログラムではありません。"
                                               "表計算プログラム（LibreOffice Calc など）を"
                                               "選んでください。"),
                         os::MessageIcon::Exclamation);
        return false;
    }
    m_tempo.clear();
    emit tempoChanged(m_tempo);
    m_state.tableEditorPath = path;
    m_settings.setTableEditor(path);
    TableEditorButtons next = m_buttons;
    next.newXcl = true;
    next.reminder = false;
    setButtons(next);
    return true;
}

int TableEditorHandOver::setXcelOpenVisible(const QString &path)
{
    if (!editorSet()) {
        TableEditorButtons none;
        none.reminder = m_buttons.reminder;
        setButtons(none);
        return 0;
    }
    const os::PathParts parts = os::PathParts::of(path);
    if (parts.fileName.isEmpty())
        return -1;
    TableEditorButtons next = m_buttons;
    next.reminder = false;
    next.newXcl = true;
    m_tablePath = parts.directory + parts.baseName + QStringLiteral(".Tbx");
    const QFileInfo table(m_tablePath);
    if (!table.isFile() || table.size() == 0) {
        next.xcelOpen = false;
        next.xcelOpenRed = false;
    } else {
        next.xcelOpen = !next.xcelOpenRed;
    }
    setButtons(next);
    return 0;
}

bool TableEditorHandOver::startEditor(const QString &file, QString *why)
{
    if (!isExecutableFile(m_state.tableEditorPath)) {
        *why = m_state.tableEditorPath + QStringLiteral(": 実行できるプログラムがありません。");
        return false;
    }
    QString error;
    if (!m_starter.startDetached(m_state.tableEditorPath,
                                 editorArguments(m_state.tableEditorPath, file), &error)) {
        *why = m_state.tableEditorPath + QStringLiteral(": ") + error;
        return false;
    }
    return true;
}

void TableEditorHandOver::openTable()
{
    if (m_state.currentFile.isEmpty() || !editorSet())
        return;
    setXcelOpenVisible(m_state.currentFile);
    if (!m_writeCompanion || !m_writeCompanion())
        return;
    QString why;
    if (!startEditor(m_tablePath, &why)) {
        m_dialogs.inform(why + QStringLiteral("\n表編集プログラムを起動できません。"),
                         os::MessageIcon::Exclamation);
        // The table was written: it can be opened again once an editor starts.
        TableEditorButtons next = m_buttons;
        next.xcelOpen = !next.xcelOpenRed;
        next.reminder = true;
        setButtons(next);
        return;
    }
    TableEditorButtons next = m_buttons;
    next.xcelOpen = !next.xcelOpenRed;
    next.newXcl = true;
    next.reminder = false;
    setButtons(next);
    emit tableHandedOver(m_tablePath);
}

void TableEditorHandOver::newTable()
{
    const QFileInfo form(templatePath());
    if (!form.isFile() || form.size() == 0) {
        m_dialogs.inform(QStringLiteral("書式ファイルが見つかりません。\n") + templatePath());
        return;
    }
    if (m_started) {
        m_dialogs.beep();
        os::MessageRequest again;
        again.text = QStringLiteral("再度 TableEditor を起動しますか？");
        again.buttons = os::MessageButtons::YesNo;
        again.defaultAnswer = os::MessageAnswer::Yes;
        if (m_dialogs.message(again) != os::MessageAnswer::Yes)
            return;
    }
    QString why;
    if (!editorSet() || !startEditor(templatePath(), &why)) {
        m_state.tableEditorPath.clear();
        m_dialogs.inform(QStringLiteral("書式編集プログラムを起動できません。") +
                         (why.isEmpty() ? QString() : u'\n' + why));
        TableEditorButtons next = m_buttons;
        next.xcelOpen = false;
        next.newXcl = false;
        next.reminder = true;
        setButtons(next);
        chooseEditor();
        return;
    }
    m_started = true;
    m_startedFile = m_state.currentFile;
    TableEditorButtons next = m_buttons;
    next.reminder = false;
    setButtons(next);
}

} // namespace qel::shell
