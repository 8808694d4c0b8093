#pragma once

#include "shell/RecentFileList.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace qel::os {
class UserDialogs;
}

namespace qel::shell {

class LoadSave;
struct ProgramState;

// What the recent list needs of the main window: Combo1 and a few services around it.
class RecentListView
{
public:
    virtual ~RecentListView() = default;

    // Combo1's items, with the entry at shown on view (-1: none).
    virtual void showRecentEntries(const QStringList &entries, int shown) = 0;
    virtual int shownRecentIndex() const = 0;
    virtual void copyToClipboard(const QString &text) = 0;
    virtual void refreshChart1() = 0;
    // The folder the list file lives in and the machine label in its name.
    virtual QString listFolder() const = 0;
    virtual QString machineLabel() const = 0;
    virtual void endProgram() = 0;
};

// setComboAccessFile and the commands of Combo1 and cmdViewListFile. The list is never
// changed by its own clicks: arrow keys only move the shown entry, Enter or a click opens it.
class RecentListCommands
{
public:
    RecentListCommands(RecentFileList &list, ProgramState &state, os::UserDialogs &dialogs,
                       RecentListView &view, LoadSave &loadSave);

    // 0 adds path to the top, 1 writes the list file, 2 reads it.
    void setComboAccessFile(int mode, const QString &path);

    // Combo1's click or Enter: opens the shown entry, repairing a missing one.
    void Combo1_Click();
    // An arrow key in Combo1: shows the neighbouring entry without opening it.
    void moveShown(int direction);
    // cmdViewListFile's mouse button: +1 (left) the next entry, -1 (right) the previous one.
    void cmdViewListFile_MouseDown(int direction);

    QString listFileName() const;
    QString fallbackListFileName() const;
    // What loading the list does first: the settings window's load of the editor and voice
    // settings (Save1Load2XclVoiceIni with 2). Without one, the two values are only read.
    void setSettingsLoader(std::function<void()> loader) { m_settingsLoader = std::move(loader); }
    int stepIndex() const { return m_step; }
    bool busy() const { return m_busy; }

    static QString driveRootText()
    {
        return QStringLiteral("qelProディレクトリーを作成してインストールしてください．");
    }
    static QString notSelectedText(const QString &name)
    {
        return QStringLiteral("\r\n目的のファイル\r\n") + name +
               QStringLiteral("が選定されませんでした。");
    }

private:
    void show(int index);
    // Opens one listed file in the picture viewer or Chart1; returns success.
    bool openListed(const QString &path);
    void openAt(int index);

    RecentFileList &m_list;
    ProgramState &m_state;
    os::UserDialogs &m_dialogs;
    RecentListView &m_view;
    LoadSave &m_loadSave;
    int m_step = 0;
    bool m_busy = false; // clicks are ignored while the list changes or a file opens
    std::function<void()> m_settingsLoader;
};

} // namespace qel::shell
