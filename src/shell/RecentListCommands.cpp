#include "shell/RecentListCommands.h"

#include "chartdoc/DataFileLoader.h"

#include "chartdoc/FileDialogKinds.h"
#include "os/PathParts.h"
#include "os/UserDialogs.h"
#include "shell/LoadSave.h"
#include "shell/ProgramState.h"

#include <QDir>

#include <utility>

namespace qel::shell {

namespace {

// Set while it lives, cleared after.
class BusyGuard
{
public:
    explicit BusyGuard(bool &flag)
        : m_flag(flag)
        , m_was(std::exchange(flag, true))
    {}
    ~BusyGuard() { m_flag = m_was; }

private:
    bool &m_flag;
    bool m_was;
};

} // namespace

RecentListCommands::RecentListCommands(RecentFileList &list, ProgramState &state,
                                       os::UserDialogs &dialogs, RecentListView &view,
                                       LoadSave &loadSave)
    : m_list(list)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_view(view)
    , m_loadSave(loadSave)
{}

QString RecentListCommands::listFileName() const
{
    return RecentFileList::listFileName(m_view.listFolder(), m_view.machineLabel());
}

QString RecentListCommands::fallbackListFileName() const
{
    return RecentFileList::fallbackListFileName(m_view.listFolder());
}

void RecentListCommands::show(int index)
{
    const BusyGuard busy(m_busy);
    m_view.showRecentEntries(m_list.entries(), index >= 0 && index < m_list.count() ? index : -1);
}

void RecentListCommands::setComboAccessFile(int mode, const QString &path)
{
    switch (mode) {
    case 0:
        if (m_list.add(path)) {
            m_step = 0;
            show(0);
        }
        break;
    case 1:
        if (QDir(m_view.listFolder()).isRoot()) {
            m_dialogs.inform(driveRootText());
            m_view.endProgram();
            return;
        }
        if (!m_list.save(listFileName()))
            m_list.save(fallbackListFileName());
        break;
    case 2:
        // The editor and voice settings come first, as the settings window loads them.
        if (m_settingsLoader)
            m_settingsLoader();
        else
            loadEditorAndVoice(m_state, m_loadSave.settings());
        if (!m_list.load(listFileName()))
            m_list.load(fallbackListFileName());
        m_step = 0;
        show(m_list.entry(0).isEmpty() ? -1 : 0);
        break;
    default:
        break;
    }
}

bool RecentListCommands::openListed(const QString &path)
{
    if (chartdoc::DataFileLoader::isPicture(path)) {
        if (!m_loadSave.host().jpgShow(path))
            return false;
        m_loadSave.writeAccessLog(path, QStringLiteral("<load list>"), QString());
        return true;
    }
    const QString previous = m_state.currentFile;
    m_state.currentFile = path;
    if (m_loadSave.Chart1LoadCHF()) {
        m_loadSave.writeAccessLog(path, QStringLiteral("<load list>"), QString());
        return true;
    }
    m_state.currentFile = previous;
    return false;
}

void RecentListCommands::Combo1_Click()
{
    if (m_busy)
        return;
    const BusyGuard busy(m_busy);
    const int index = m_view.shownRecentIndex();
    if (m_list.entry(index).trimmed().isEmpty())
        return;
    openAt(index);
    m_view.refreshChart1();
}

void RecentListCommands::openAt(int index)
{
    // A missing file either leaves the list (and the next one is tried) or is searched for.
    while (index >= 0 && index < m_list.count()) {
        const QString path = RecentFileList::pathOf(m_list.entry(index));
        if (!path.isEmpty() && openListed(path)) {
            if (chartdoc::DataFileLoader::isPicture(path))
                m_state.currentFile = path;
            return;
        }
        m_dialogs.beep();
        m_view.copyToClipboard(path);
        os::MessageRequest question;
        question.text = RecentFileList::missingFileQuestion(index, path);
        question.buttons = os::MessageButtons::YesNo;
        question.icon = os::MessageIcon::Exclamation;
        question.defaultAnswer = os::MessageAnswer::No;
        if (m_dialogs.message(question) == os::MessageAnswer::Yes) {
            m_list.remove(index);
            show(index);
            continue;
        }
        const QString name = os::PathParts::of(path).fileName;
        os::FileDialogRequest search;
        search.title = name + QStringLiteral(" の設定");
        search.filters = chartdoc::FileDialogKinds::translateFilter(
            QStringLiteral("Search file (*.chf;*.jpg)|*.chf;*.jpg"));
        search.proposedPath = path;
        const QString chosen = m_dialogs.chooseFiles(search).value(0);
        if (chosen.isEmpty() || !chosen.contains(name, Qt::CaseInsensitive)) {
            m_dialogs.inform(notSelectedText(name));
            return;
        }
        m_list.remove(index);
        m_list.add(chosen);
        m_step = 0;
        show(0);
        if (openListed(chosen) && chartdoc::DataFileLoader::isPicture(chosen))
            m_state.currentFile = chosen;
        return;
    }
}

void RecentListCommands::moveShown(int direction)
{
    const int next = m_view.shownRecentIndex() + direction;
    if (next >= 0 && next < m_list.count())
        show(next);
}

void RecentListCommands::cmdViewListFile_MouseDown(int direction)
{
    if (m_list.count() == 0)
        return;
    bool wrapped = false;
    m_step = m_list.step(m_step, direction, &wrapped);
    if (wrapped)
        m_dialogs.beep();
    show(m_step);
}

} // namespace qel::shell
