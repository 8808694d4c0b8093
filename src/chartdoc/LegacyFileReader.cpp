#include "chartdoc/LegacyFileReader.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/TableFileReader.h"
#include "chartdoc/TableImage.h"
#include "chartdoc/TableText.h"
#include "chartdoc/TableTitles.h"
#include "os/MessageWindow.h"
#include "os/SequentialFields.h"
#include "os/UserDialogs.h"

#include <cmath>

namespace qel::chartdoc {

namespace {

// A whole 16-bit number as Input # reads one into an integer; anything else cannot be read.
std::optional<qint16> integerField(const QString &text)
{
    bool isNumber = false;
    const float v = TableText::parseCell(text, &isNumber);
    if (!isNumber)
        return std::nullopt;
    const float r = std::nearbyint(v);
    if (r < -32768.0f || r > 32767.0f)
        return std::nullopt;
    return qint16(r);
}

struct Pair
{
    float a = os::MissingNumber;
    float b = os::MissingNumber;
    bool endMark() const { return os::isMissingNumber(a) && os::isMissingNumber(b); }
};

// One pair "A,B"; a B of exactly 0 is no value.
bool readPair(os::SequentialFields &fields, Pair &pair)
{
    QString a, b;
    if (!fields.readField(a) || !fields.readField(b))
        return false;
    pair.a = TableText::parseCell(a, nullptr);
    pair.b = TableText::parseCell(b, nullptr);
    if (pair.b == 0)
        pair.b = os::MissingNumber;
    return true;
}

} // namespace

LegacyFileReader::LegacyFileReader(ChartDocument &context)
    : m_context(context)
{}

QString LegacyFileReader::swapQuestion()
{
    return QStringLiteral(
        ".DFS file\r\nグループとカウント（ポイント）を交換しますか？\r\nSwap group and "
        "points ?");
}

std::optional<QString> LegacyFileReader::read(QStringView text, TableImage &table,
                                              TableTitles &titles)
{
    const QString cannotRead;
    os::SequentialFields fields(text);
    QString header, codeText, groupText, pointText;
    if (!fields.readField(header) || !fields.readField(codeText) || !fields.readField(groupText) ||
        !fields.readField(pointText))
        return cannotRead;
    const std::optional<qint16> code = integerField(codeText);
    std::optional<qint16> groups = integerField(groupText);
    std::optional<qint16> points = integerField(pointText);
    if (!code || !groups || !points)
        return cannotRead;

    const qint16 version = qint16(*code / 100);
    const qint16 type = qint16(*code % 10);
    if (!header.contains(QStringLiteral("VER")) || (version == 0 && type == 2) ||
        (version < 2 && type == 3))
        return TableFileReader::resultOldFile();
    if (*groups <= 0 || *points <= 0)
        return TableFileReader::resultNgData();
    // A group needs a line for its name, a point a pair of fields: a short file cannot make a
    // huge table, however large its counts.
    qsizetype fieldsLeft = 1;
    for (const QChar c : text) {
        if (c == u',' || c == u'\n' || c == u'\r')
            ++fieldsLeft;
    }
    if (*groups > fieldsLeft)
        return cannotRead;
    if (*points > fieldsLeft)
        points = qint16(fieldsLeft);
    if (!TableFileReader::fitsItsFile(qint64(*groups) * *points, fieldsLeft)) {
        m_context.dialogs().inform(TableFileReader::tooLargeText(qint64(*groups) * *points));
        return cannotRead;
    }

    bool swap = false;
    if (type == 4) {
        os::MessageRequest question;
        question.text = swapQuestion();
        question.buttons = os::MessageButtons::YesNo;
        question.defaultAnswer = os::MessageAnswer::Yes;
        swap = m_context.dialogs().message(question) == os::MessageAnswer::Yes;
    }

    os::MessageWindow &progress = m_context.messageWindow();
    QString line;
    if (!swap) {
        table.dimension(*groups, *points);
        for (int g = 1; g <= table.groupCount; ++g) {
            if (!fields.readLine(line))
                return cannotRead;
            table.groupLegend[g] = line;
        }
        fields.readLine(line);
        for (int g = 1; g <= table.groupCount; ++g) {
            Pair pair;
            for (int p = 1; p <= table.pointCount; ++p) {
                if (!readPair(fields, pair))
                    return cannotRead;
                table.setX(g, p, pair.a);
                table.setY(g, p, pair.b);
                if (pair.endMark())
                    break;
            }
            // Each group is closed by one more pair; the last one may be cut off by the end.
            if (!pair.endMark())
                readPair(fields, pair);
        }
    } else {
        table.dimension(*points, *groups);
        for (int p = 1; p <= table.pointCount; ++p) {
            if (!fields.readLine(line))
                return cannotRead;
            table.pointLegend[p] = line;
        }
        fields.readLine(line);
        qint64 pairs = 0;
        for (int p = 1; p <= table.pointCount; ++p) {
            for (int g = 1; g <= table.groupCount; ++g) {
                Pair pair;
                if (!readPair(fields, pair))
                    return cannotRead;
                table.setX(g, p, pair.a);
                table.setY(g, p, pair.b);
                if (++pairs % 100 == 0)
                    progress.frmMsgShow(QStringLiteral("Loading data"), QString::number(pairs));
            }
        }
    }
    table.createStamp = header;
    table.fileVersion = version;
    table.chartType = type;
    table.typeOpt = type == 1 ? qint16(*code % 100) : qint16(0);
    table.commonX = false;

    // Trailing sections.
    int freeLines = 0;
    QString field;
    while (freeLines < MaxFreeLines && fields.readLine(line)) {
        if (line.contains(QStringLiteral("=CPG.NAME"))) {
            for (int g = 1; g <= table.groupCount && fields.readField(field); ++g)
                table.groupLegend[g] = field;
        } else if (line.contains(QStringLiteral("=AXIS.NAME"))) {
            QString names[3];
            for (QString &name : names)
                fields.readField(name);
            titles.xLegend = names[0];
            titles.yLegend = names[1];
            titles.zLegend = names[2];
        } else if (line.contains(QStringLiteral("=BAR_BIAS"))) {
            fields.readField(field);
        } else {
            ++freeLines;
        }
    }

    // Bar and disc files number their points 1, 2, 3, ...
    if (table.chartType >= 2) {
        for (int g = 1; g <= table.groupCount; ++g) {
            for (int p = 1; p <= table.pointCount; ++p)
                table.setX(g, p, float(p));
        }
    }
    return std::nullopt;
}

} // namespace qel::chartdoc
