#include "settings/LegendFile.h"

#include "os/FileAccess.h"
#include "os/SequentialFields.h"
#include "os/TextCodec.h"

namespace qel::settings {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Begin = QStringLiteral("File Legend{");
const QString End = QStringLiteral("}File Legend End");

} // namespace

QString LegendFile::pathFor(const QString &path)
{
    const QString tail = path.right(4).toUpper();
    if (tail != QStringLiteral(".CHF") && tail != QStringLiteral(".TBX"))
        return {};
    return path.left(path.size() - 3) + QStringLiteral("App");
}

QByteArray LegendFile::encode(const QString &legend)
{
    // The load adds one CR LF after the text; without dropping it here every save and load
    // would add another empty line. A quote is doubled so the text comes back whole.
    QString text = legend;
    if (text.endsWith(CrLf))
        text.chop(CrLf.size());
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return os::encodeText(Begin + CrLf + QLatin1Char('"') + text + QLatin1Char('"') + CrLf + End +
                          CrLf);
}

QString LegendFile::decode(const QByteArray &bytes)
{
    const QString text = os::decodeText(bytes).text;
    os::SequentialFields fields(text);
    QString field, legend;
    bool inside = false;
    bool quoted = false;
    while (fields.readField(field, &quoted)) {
        if (!inside) {
            inside = field == Begin;
            continue;
        }
        // A legend line that reads like the end mark is written in quotes, so it stays text.
        if (field == End && !quoted)
            break;
        legend += field;
        legend += CrLf;
    }
    return legend;
}

os::Result LegendFile::save1Load2AppendLegendFile(int mode, const QString &path, QString &legend)
{
    const QString file = pathFor(path);
    if (file.isEmpty())
        return os::Result::failure(QString());
    if (mode == 1)
        return os::FileAccess::saveFile(file, encode(legend));
    if (mode == 2) {
        legend.clear();
        QByteArray bytes;
        const os::Result read = os::FileAccess::readRegularFile(file, bytes, MaxFileSize);
        if (read)
            legend = decode(bytes);
        return read;
    }
    return os::Result::failure(QString());
}

} // namespace qel::settings
