#include "slides/SlideShow.h"

#include "os/FileAccess.h"
#include "os/TextCodec.h"
#include "os/UserDialogs.h"
#include "slides/ShowState.h"
#include "slides/SlidePlayer.h"
#include "slides/SlidePreparation.h"
#include "slides/SlideScript.h"
#include "slides/SlideShowHost.h"
#include "slides/SpeechOutput.h"

namespace qel::slides {

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString withoutLeadingBlanks(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    return text.mid(i);
}

QString withSeparator(const QString &folder)
{
    return folder.endsWith(u'/') || folder.endsWith(u'\\') ? folder : folder + u'/';
}

} // namespace

SlideShow::SlideShow(Context context)
    : m_context(std::move(context))
{}

QString SlideShow::recordQuestion(const QString &name)
{
    return QStringLiteral("スライドショーファイル") + CrLf + name + CrLf +
           QStringLiteral("に記録しますか？");
}

QString SlideShow::noSlidesText(const QString &path)
{
    return path + CrLf + QStringLiteral("このスライドショーファイルにはスライドがありません。");
}

bool SlideShow::voiceNotSet() const
{
    return m_context.speech.voiceSystem() == VoiceSystem::None;
}

int SlideShow::multSlideShow(const QString &folder, QString &source, int mode)
{
    SlideShowHost &host = m_context.host;
    SlidePlayer &player = m_context.player;
    m_generated.clear();
    m_entries = 0;

    host.centreMainWindow();
    const bool viewerWasVisible = host.pictureViewerVisible();
    host.setPictureViewerVisible(false);
    player.setScriptFile(QString());
    player.setLabelFlag(QString());
    if (mode == 1 || voiceNotSet()) {
        player.setNarrationMode(QString(), false);
        player.setEditButton(QString(), false);
        if (mode == 1)
            player.clearAndHidePrintBox();
    } else {
        player.setNarrationMode(QStringLiteral("Pau"), true);
        player.setEditButton(QStringLiteral("Edit"), true);
    }
    host.setDataPath(withSeparator(folder) + QStringLiteral("dummy"));

    if (mode == 1)
        playSelection(folder, source);
    else
        playScript(folder, source);

    host.setPictureViewerVisible(viewerWasVisible);
    m_context.show.slideSignal = 2;
    return mode == 1 ? m_entries : 0;
}

void SlideShow::playScript(const QString &folder, const QString &script)
{
    SlidePlayer &player = m_context.player;
    os::UserDialogs &dialogs = m_context.dialogs;
    player.enablePrintBox();
    SlideTable table;
    const os::Result read = SlideScript::read(script, table);
    if (!read.ok()) {
        dialogs.inform(read.message); // nothing is played
        return;
    }
    if (!read.message.isEmpty())
        dialogs.inform(read.message, os::MessageIcon::Information);
    const QString overflow = SlideScript::overflowNotice(table);
    if (!overflow.isEmpty())
        dialogs.inform(overflow, os::MessageIcon::Information);
    if (table.count() == 0)
        dialogs.inform(noSlidesText(script), os::MessageIcon::Information);
    player.setScriptFile(script);

    for (int i = 1; i <= table.count(); ++i) {
        const SlideRow &row = table.rows[std::size_t(i)];
        player.setLabelFlag(i == 1 ? QString() : QStringLiteral(" "));
        showSlide(folder, row.file, row.narration, 0);
        m_context.host.hideMainWindow();
        const QString flag = player.labelFlag();
        if (flag == u"Quit") {
            dialogs.beep();
            player.setPictureEnabled(false);
            break;
        }
        if (flag == u"Back")
            i -= 2;
        else if (flag == u"Home")
            i = 0;
    }
    endOfShow();
}

void SlideShow::playSelection(const QString &folder, QString &source)
{
    SlidePlayer &player = m_context.player;
    os::UserDialogs &dialogs = m_context.dialogs;
    const QStringList files = SlideScript::playList(source);
    const QDateTime started = m_context.now();
    m_generated = SlideScript::headerLine(folder, started) + CrLf;
    player.enablePrintBox();
    bool quit = false;
    for (const QString &file : files) {
        showSlide(folder, file, QString(), 1);
        if (player.labelFlag() == u"Quit") {
            dialogs.beep();
            player.setPictureEnabled(false);
            quit = true;
            break;
        }
    }
    if (quit)
        m_entries = 0;
    source = m_generated;

    if (m_entries < 1) {
        player.unload();
        return;
    }
    if (m_entries == 1) {
        dialogs.inform(oneSlideText(), os::MessageIcon::Exclamation);
        player.unload();
        return;
    }
    m_context.host.hideSettingsWindow();
    m_context.host.hideMainWindow();
    const QString name = SlideScript::proposedFileName(m_context.now());
    os::MessageRequest question;
    question.text = recordQuestion(name);
    question.buttons = os::MessageButtons::YesNo;
    question.icon = os::MessageIcon::Information;
    question.defaultAnswer = os::MessageAnswer::Yes;
    if (dialogs.message(question) == os::MessageAnswer::Yes)
        recordScript(folder, name);
    m_context.host.showMainWindow();
    player.unload();
}

void SlideShow::recordScript(const QString &folder, const QString &name)
{
    const QString path = withSeparator(folder) + name;
    const os::Result saved = os::FileAccess::saveFile(path, os::encodeText(m_generated + CrLf));
    if (!saved.ok())
        m_context.dialogs.inform(saved.message, os::MessageIcon::Exclamation);
}

void SlideShow::showSlide(const QString &folder, const QString &file, const QString &narration,
                          int mode)
{
    SlidePlayer &player = m_context.player;
    SlideShowHost &host = m_context.host;
    const SlidePreparation &preparation = m_context.preparation;
    QString text = withoutLeadingBlanks(narration);
    player.setHoldCaption(file);
    const PreparedSlide slide = preparation.prepare(folder, file);

    if (slide.kind == PreparedSlide::Kind::Picture) {
        // A picture that cannot be read is shown as a notice with its narration: the talk
        // goes on.
        const QImage picture =
            preparation.render(slide, player.pictureSize(), player.pictureRatio());
        player.Showing(SlidePlayer::Picture, text, picture, slide.path);
        appendEntry(file, slide.description);
        return;
    }
    if (!slide.ok()) {
        player.showWindow();
        QString message = SlidePreparation::failureText(file, slide.path);
        const QString reason = SlidePreparation::reasonOf(slide.loaded);
        if (!reason.isEmpty())
            message += CrLf + reason;
        m_context.dialogs.inform(message);
        return;
    }
    player.setHoldCaption(file);
    const QImage picture = preparation.render(slide, player.pictureSize(), player.pictureRatio());
    if (picture.isNull())
        return;
    host.setCurrentFile(slide.path);
    host.tableEditorFollows(slide.path);
    player.Showing(mode + 1, text, picture, slide.path);
    host.hideSettingsWindow();
    if (player.pictureVisible())
        appendEntry(file, slide.description);
}

void SlideShow::appendEntry(const QString &file, const QString &description)
{
    ++m_entries;
    m_generated += SlideScript::entryLines(m_entries, file, description);
}

void SlideShow::endOfShow()
{
    SlidePlayer &player = m_context.player;
    m_context.show.slideSignal = 2;
    m_context.speech.voiceStop();
    m_context.host.endOfShowPause();
    m_context.host.showMainWindow();
    player.setPictureEnabled(true);
    player.unload();
}

} // namespace qel::slides
