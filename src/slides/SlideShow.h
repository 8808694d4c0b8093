#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace qel::os {
class UserDialogs;
}

namespace qel::slides {

class SlidePlayer;
class SlidePreparation;
class SlideShowHost;
class SpeechOutput;
struct ShowState;

// multSlideShow: plays a slide script (mode 0) or the files chosen together in the open
// dialogue (mode 1), one slide after the other through the player, going back or to the end
// as the user asks; a selection that showed two slides or more may be kept as a new script.
class SlideShow
{
public:
    struct Context
    {
        SlideShowHost &host;
        SlidePlayer &player;
        const SlidePreparation &preparation;
        os::UserDialogs &dialogs;
        SpeechOutput &speech;
        ShowState &show;
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    };

    explicit SlideShow(Context context);

    // folder: the script's or the selection's folder. source: mode 0 the script's path;
    // mode 1 the selection list (the folder, then one file name a line), which comes back as
    // the generated script. Returns the number of slides entered in the generated script
    // (0 after the user ended a selection's show).
    int multSlideShow(const QString &folder, QString &source, int mode);

    static QString oneSlideText()
    {
        return QStringLiteral(
            "スライドに1枚しか該当しませんでしたので、スライドショーはできません。");
    }
    static QString recordQuestion(const QString &name);
    // A script that names no slide at all.
    static QString noSlidesText(const QString &path);

private:
    void playScript(const QString &folder, const QString &script);
    void playSelection(const QString &folder, QString &source);
    // Prepares and shows one slide; the generated script gets an entry for it.
    void showSlide(const QString &folder, const QString &file, const QString &narration, int mode);
    void appendEntry(const QString &file, const QString &description);
    void recordScript(const QString &folder, const QString &name);
    void endOfShow();
    bool voiceNotSet() const;

    Context m_context;
    QString m_generated;
    int m_entries = 0;
};

} // namespace qel::slides
