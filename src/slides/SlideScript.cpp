#include "slides/SlideScript.h"

#include "os/FileAccess.h"
#include "os/TextCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qel::slides {

namespace {

// Scripts are small; this only keeps a wrong file named ".sld" from filling the memory.
constexpr qint64 maxScriptBytes = 64 * 1024 * 1024;

QString withoutLeadingBlanks(const QString &line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    return line.mid(i);
}

QString withoutTrailingBlanks(const QString &line)
{
    qsizetype n = line.size();
    while (n > 0 && (line[n - 1] == u' ' || line[n - 1] == u'\t'))
        --n;
    return line.left(n);
}

// The slide name of a file entry: cut after ".chf", else after ".jpg"; empty when neither.
QString entryFileName(const QString &working)
{
    const QString rest = withoutLeadingBlanks(working.mid(6));
    for (const QString &extension : {QStringLiteral(".chf"), QStringLiteral(".jpg")}) {
        const qsizetype at = rest.indexOf(extension, 0, Qt::CaseInsensitive);
        if (at >= 0)
            return rest.left(at) + extension.toUpper();
    }
    return QString();
}

// Where narration goes while the script is read.
struct ParseState
{
    SlideTable table;
    QString narration;
    bool capturing = false;
    bool inComment = false;
    bool overflowing = false; // after the 500th slide: narration has no row to go to

    void storeNarration()
    {
        if (!overflowing)
            table.rows.back().narration = narration;
    }

    void takeFileEntry(const QString &working)
    {
        inComment = false;
        const QString name = entryFileName(working);
        if (name.isEmpty())
            return;
        storeNarration();
        narration.clear();
        capturing = false;
        if (table.count() >= SlideTable::maxSlides) {
            overflowing = true;
            ++table.ignoredEntries;
            return;
        }
        table.rows.push_back({name, QString()});
    }

    void takeLine(const QString &line)
    {
        const QString working = withoutLeadingBlanks(line);
        const QString tag = working.left(6).toUpper();
        if (tag == u"<FILE>") {
            takeFileEntry(working);
        } else if (tag == u"<TEXT>") {
            narration = working.mid(6);
            capturing = true;
        } else if (inComment) {
            if (withoutTrailingBlanks(working).endsWith(u"-->"))
                inComment = false;
        } else if (working.startsWith(u"<!--")) {
            const QString closed = withoutTrailingBlanks(working);
            inComment = !(closed.size() >= 7 && closed.endsWith(u"-->"));
        } else if (capturing) {
            narration += working;
        }
    }
};

// Finds one path part in folder, exactly or else without regard to case.
QString findEntry(const QDir &folder, const QString &part)
{
    if (part.isEmpty() || part == u"." || part == u".." || folder.exists(part))
        return part;
    const QStringList names = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.compare(part, Qt::CaseInsensitive) == 0)
            return name;
    }
    return part;
}

QString dateText(const QDateTime &when)
{
    return when.toString(QStringLiteral("MM-dd-yyyy"));
}

} // namespace

SlideTable SlideScript::parse(const QString &text)
{
    ParseState state;
    for (const QString &line : os::splitLines(text))
        state.takeLine(line);
    state.storeNarration();
    return std::move(state.table);
}

os::Result SlideScript::read(const QString &path, SlideTable &table)
{
    table = SlideTable();
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(path, bytes, maxScriptBytes);
    if (!read.ok())
        return read;
    const os::DecodedText decoded = os::decodeText(bytes);
    table = parse(decoded.text);
    if (decoded.hasErrors)
        return os::Result::success(os::unreadableCharactersNote(path));
    return os::Result::success();
}

QString SlideScript::resolve(const QString &folder, const QString &name)
{
    QString relative = name;
    relative.replace(u'\\', u'/');
    const QString root = relative.startsWith(u'/') ? QStringLiteral("/") : folder;
    QDir dir(root);
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    QStringList found;
    bool lost = false; // a folder on the way is missing: the rest is taken as written
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString part = lost ? parts[i] : findEntry(dir, parts[i]);
        found << part;
        if (!lost && i + 1 < parts.size() && !dir.cd(part))
            lost = true;
    }
    return QDir::cleanPath(QDir(root).absoluteFilePath(found.join(u'/')));
}

QString SlideScript::overflowNotice(const SlideTable &table)
{
    if (table.ignoredEntries == 0)
        return QString();
    return QStringLiteral("スライドは%1枚までです。%2枚目からの%3件は読み込みませんでした。")
        .arg(SlideTable::maxSlides)
        .arg(SlideTable::maxSlides + 1)
        .arg(table.ignoredEntries);
}

QString SlideScript::headerLine(const QString &folder, const QDateTime &when)
{
    QString withSeparator = folder;
    if (!withSeparator.endsWith(u'/'))
        withSeparator += u'/';
    return withSeparator + u'*' + dateText(when) + u' ' +
           when.toString(QStringLiteral("HH:mm:ss")) + u' ';
}

QString SlideScript::entryLines(int slideNumber, const QString &file, const QString &description)
{
    // The number carries the blank a positive number is printed with.
    const QString number =
        slideNumber < 0 ? QString::number(slideNumber) : u' ' + QString::number(slideNumber);
    return QStringLiteral("<FILE> ") + file + QStringLiteral("  /* ") + description +
           QStringLiteral("\r\n<TEXT>") + number + QStringLiteral("番目のスライドです.\r\n");
}

QString SlideScript::proposedFileName(const QDateTime &when)
{
    return dateText(when) + u'(' + when.toString(QStringLiteral("HHmmss")) +
           QStringLiteral(").Sld");
}

QStringList SlideScript::playList(const QString &selection, QString *folder)
{
    QStringList lines = os::splitLines(selection);
    if (folder)
        *folder = lines.isEmpty() ? QString() : lines.first();
    QStringList names;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &name = lines[i];
        const QString extension = name.right(4).toLower();
        if ((extension == u".chf" || extension == u".jpg") && !name.contains(u'\\') &&
            !name.contains(u'/'))
            names << name;
    }
    return names;
}

QByteArray SlideScript::toJson(const SlideTable &table)
{
    QJsonArray rows;
    for (const SlideRow &row : table.rows)
        rows.append(QJsonObject{{QStringLiteral("file"), row.file},
                                {QStringLiteral("narration"), row.narration}});
    QJsonObject root{{QStringLiteral("count"), table.count()}, {QStringLiteral("rows"), rows}};
    if (table.ignoredEntries > 0)
        root.insert(QStringLiteral("ignored"), table.ignoredEntries);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace qel::slides
