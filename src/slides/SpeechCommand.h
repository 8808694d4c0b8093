#pragma once

#include <QString>

class QTextStream;

namespace qel::slides {

// The command line's speech: --voices lists what can speak here, --say speaks a text through
// the same engine as the program (into a WAV file with --wav). Both run without a window.
class SpeechCommand
{
public:
    struct Say
    {
        QString text;
        QString voice; // id, name or language; the speech window's choice when empty
        int rate = 0;
        QString wav; // the sound device (or QELPRO_AUDIO_OUT) when empty
    };

    enum Exit { Spoken = 0, Failed = 1, NoSuchVoice = 3, NothingToSay = 4, NoOutput = 5 };

    // Writes one line per voice: name, language, back end, whether it reads kanji, id; then
    // the outside readers. Notes on what is missing go to errors.
    static int listVoices(QTextStream &out, QTextStream &errors);
    // Speaks and waits for the end. On failure error says why.
    static int say(const Say &request, QString &error);
};

} // namespace qel::slides
