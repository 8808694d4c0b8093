#include "chartview/render/ChartFile.h"

#include "os/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace qel::chartview {

namespace {

// How far into a file that does not parse we look for the format name.
constexpr qsizetype HeadSize = 4096;

QString formatName()
{
    return QStringLiteral("qelPro-chart");
}

// JSON has no NaN, infinities or negative zero; they travel as these strings.
QString nanText()
{
    return QStringLiteral("NaN");
}
QString infinityText()
{
    return QStringLiteral("Infinity");
}
QString minusInfinityText()
{
    return QStringLiteral("-Infinity");
}
QString minusZeroText()
{
    return QStringLiteral("-0");
}

ChartFileResult failure(qint32 code, const QString &fileName, const QString &detail = QString())
{
    QString text;
    switch (code) {
    case ChartFileResult::Unreadable:
        text = QStringLiteral("図表ファイルを読めません");
        break;
    case ChartFileResult::NotChartFile:
        text = QStringLiteral("qelPro の図表ファイルではありません");
        break;
    case ChartFileResult::Newer:
        text = QStringLiteral("新しい版の qelPro で作られた図表ファイルです。この版では読めません");
        break;
    case ChartFileResult::Damaged:
        text = QStringLiteral("図表ファイルが壊れています");
        break;
    default:
        text = QStringLiteral("図表ファイルを書き込めません");
        break;
    }
    if (!fileName.isEmpty())
        text += QStringLiteral(": ") + QDir::toNativeSeparators(fileName);
    if (!detail.isEmpty())
        text += QStringLiteral("（%1）").arg(detail);
    return {code, text};
}

bool hasFormatName(const QByteArray &bytes)
{
    return bytes.left(HeadSize).contains(QByteArrayLiteral("\"qelPro-chart\""));
}

QString numberText(double value)
{
    return QString::number(value, 'g', 17);
}

QString lengthProblem(const QString &name, qint64 actual, qint64 expected)
{
    return QStringLiteral("「%1」の要素数が %2 です（%3 個のはずです）")
        .arg(name)
        .arg(actual)
        .arg(expected);
}

// The caps are checked before anything of these sizes is allocated.
QString countProblem(qint64 series, qint64 points)
{
    if (series < 0 || series > ChartFile::MaxSeries)
        return QStringLiteral("系列数 %1 が範囲外です（0〜%2）")
            .arg(series)
            .arg(ChartFile::MaxSeries);
    if (points < 0 || points > std::numeric_limits<int>::max())
        return QStringLiteral("点数 %1 が範囲外です（0〜%2）")
            .arg(points)
            .arg(std::numeric_limits<int>::max());
    // A zero count counts as one, so that points without series are capped too.
    if (std::max<qint64>(series, 1) * std::max<qint64>(points, 1) > ChartFile::MaxValues)
        return QStringLiteral("系列数 %1 × 点数 %2 は大きすぎます（%3 個まで）")
            .arg(series)
            .arg(points)
            .arg(ChartFile::MaxValues);
    return QString();
}

QString storeProblem(const ChartModel &m)
{
    const QString counts = countProblem(m.seriesCount, m.pointCount);
    if (!counts.isEmpty())
        return counts;
    const qint64 cells = qint64(m.seriesCount) * m.pointCount;
    const struct
    {
        const char *name;
        qint64 actual;
        qint64 expected;
    } lists[] = {
        {"values", qint64(m.values.size()), cells},
        {"xValues", qint64(m.xValues.size()), cells},
        {"pointCaptions", m.pointCaptions.size(), m.pointCount},
        {"seriesCaptions", m.seriesCaptions.size(), m.seriesCount},
        {"seriesAttrColors", qint64(m.seriesAttrColors.size()), m.seriesCount},
        {"markerStyles", qint64(m.markerStyles.size()), m.seriesCount},
        {"secondYAxis", qint64(m.secondYAxis.size()), m.seriesCount},
    };
    for (const auto &list : lists) {
        if (list.actual != list.expected)
            return lengthProblem(QLatin1String(list.name), list.actual, list.expected);
    }
    if (m.seriesColors.empty())
        return QStringLiteral("「seriesColors」が空です");
    return QString();
}

QByteArray compact(const QJsonValue &value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

QByteArray jsonString(const QString &text)
{
    return compact(QJsonValue(text));
}

QByteArray jsonBool(bool value)
{
    return value ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
}

template <typename T> QByteArray jsonInteger(T value)
{
    static_assert(std::is_integral_v<T>);
    return QByteArray::number(qint64(value));
}

void appendDouble(QByteArray &out, double value)
{
    if (std::isnan(value))
        out += jsonString(nanText());
    else if (std::isinf(value))
        out += jsonString(value > 0 ? infinityText() : minusInfinityText());
    else if (value == 0 && std::signbit(value))
        out += jsonString(minusZeroText());
    else // the shortest text that reads back as the same double
        out += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray jsonDouble(double value)
{
    QByteArray out;
    appendDouble(out, value);
    return out;
}

// Written as doubles: the file holds what the values are, not how they are kept.
QByteArray jsonDoubles(const std::vector<float> &values)
{
    QByteArray out;
    out.reserve(qsizetype(values.size()) * 8 + 2);
    out += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        appendDouble(out, double(values[i]));
    }
    out += ']';
    return out;
}

template <typename Container> QByteArray jsonIntegers(const Container &values)
{
    QByteArray out = QByteArrayLiteral("[");
    bool first = true;
    for (const auto value : values) {
        if (!first)
            out += ", ";
        first = false;
        out += jsonInteger(value);
    }
    out += ']';
    return out;
}

QByteArray jsonStrings(const QStringList &texts)
{
    return compact(QJsonArray::fromStringList(texts));
}

// A JSON object written one member a line at the given indent, or on one line when inline.
class ObjectText
{
public:
    ObjectText(QByteArray &out, int indent)
        : m_out(out)
        , m_indent(indent)
    {
        m_out += '{';
    }

    static constexpr int Inline = -1;

    void key(const QString &name)
    {
        if (m_indent == Inline) {
            m_out += m_first ? "" : ", ";
        } else {
            m_out += m_first ? "\n" : ",\n";
            m_out += QByteArray(m_indent + 4, ' ');
        }
        m_first = false;
        m_out += jsonString(name);
        m_out += ": ";
    }

    void field(const QString &name, const QByteArray &json)
    {
        key(name);
        m_out += json;
    }

    void finish()
    {
        if (m_indent != Inline && !m_first) {
            m_out += '\n';
            m_out += QByteArray(m_indent, ' ');
        }
        m_out += '}';
    }

private:
    QByteArray &m_out;
    int m_indent;
    bool m_first = true;
};

template <typename Key, typename Value, typename Write>
QByteArray jsonMap(const std::map<Key, Value> &map, Write writeValue)
{
    QByteArray out;
    ObjectText object(out, ObjectText::Inline);
    for (const auto &[key, value] : map)
        object.field(QString::number(key), writeValue(value));
    object.finish();
    return out;
}

// An array of small objects, one a line.
QByteArray jsonLines(const QList<QByteArray> &items, int indent)
{
    if (items.isEmpty())
        return QByteArrayLiteral("[]");
    QByteArray out = QByteArrayLiteral("[");
    for (qsizetype i = 0; i < items.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += QByteArray(indent + 4, ' ');
        out += items[i];
    }
    out += '\n';
    out += QByteArray(indent, ' ');
    out += ']';
    return out;
}

QByteArray jsonFont(const ChartFontSpec &font)
{
    QByteArray out;
    ObjectText object(out, ObjectText::Inline);
    object.field(QStringLiteral("family"), jsonString(font.family));
    object.field(QStringLiteral("pointSize"), jsonDouble(font.pointSize));
    object.field(QStringLiteral("bold"), jsonBool(font.bold));
    object.field(QStringLiteral("italic"), jsonBool(font.italic));
    object.field(QStringLiteral("underline"), jsonBool(font.underline));
    object.field(QStringLiteral("strikeOut"), jsonBool(font.strikeOut));
    object.field(QStringLiteral("weight"), jsonInteger(font.weight));
    object.field(QStringLiteral("charset"), jsonInteger(font.charset));
    object.finish();
    return out;
}

QByteArray jsonConstant(const ConstantLine &line)
{
    QByteArray out;
    ObjectText object(out, ObjectText::Inline);
    object.field(QStringLiteral("value"), jsonDouble(line.value));
    object.field(QStringLiteral("caption"), jsonString(line.caption));
    object.finish();
    return out;
}

QByteArray jsonBand(const ValueBand &band)
{
    QByteArray out;
    ObjectText object(out, ObjectText::Inline);
    object.field(QStringLiteral("from"), jsonDouble(band.from));
    object.field(QStringLiteral("till"), jsonDouble(band.till));
    object.field(QStringLiteral("color"), jsonInteger(band.color));
    object.finish();
    return out;
}

QByteArray jsonGradient(const BackgroundGradient &gradient)
{
    QByteArray out;
    ObjectText object(out, ObjectText::Inline);
    object.field(QStringLiteral("on"), jsonBool(gradient.on));
    object.field(QStringLiteral("kind"), jsonInteger(gradient.kind));
    object.field(QStringLiteral("color1"), jsonInteger(gradient.color1));
    object.field(QStringLiteral("color2"), jsonInteger(gradient.color2));
    object.finish();
    return out;
}

template <typename Item, typename Write>
QByteArray jsonObjects(const Item &items, int indent, Write write)
{
    QList<QByteArray> lines;
    for (const auto &item : items)
        lines.append(write(item));
    return jsonLines(lines, indent);
}

void writeChart(QByteArray &out, const ChartModel &m)
{
    constexpr int Indent = 4;
    ObjectText c(out, Indent);
    c.field(QStringLiteral("seriesCount"), jsonInteger(m.seriesCount));
    c.field(QStringLiteral("pointCount"), jsonInteger(m.pointCount));
    c.field(QStringLiteral("values"), jsonDoubles(m.values));
    c.field(QStringLiteral("xValues"), jsonDoubles(m.xValues));
    c.field(QStringLiteral("hasXValues"), jsonBool(m.hasXValues));
    c.field(QStringLiteral("pointCaptions"), jsonStrings(m.pointCaptions));
    c.field(QStringLiteral("seriesCaptions"), jsonStrings(m.seriesCaptions));
    c.field(QStringLiteral("titles"), jsonStrings(QStringList(m.titles.begin(), m.titles.end())));

    c.field(QStringLiteral("seriesColors"), jsonIntegers(m.seriesColors));
    c.field(QStringLiteral("seriesAttrColors"), jsonIntegers(m.seriesAttrColors));
    c.field(QStringLiteral("markerStyles"), jsonIntegers(m.markerStyles));
    c.field(QStringLiteral("defaultMarkerStyle"), jsonInteger(m.defaultMarkerStyle));
    c.field(QStringLiteral("secondYAxis"), jsonIntegers(m.secondYAxis));

    c.field(QStringLiteral("constants"), jsonObjects(m.constants, Indent + 4, jsonConstant));
    c.field(QStringLiteral("constantStyle"), jsonInteger(m.constantStyle));
    c.field(QStringLiteral("bands"), jsonObjects(m.bands, Indent + 4, jsonBand));

    c.field(QStringLiteral("axisValues"), jsonMap(m.axisValues, jsonDouble));
    c.field(QStringLiteral("axisDecimals"), jsonMap(m.axisDecimals, jsonInteger<int>));
    c.field(QStringLiteral("queryAxis"), jsonInteger(m.queryAxis));

    c.field(QStringLiteral("lineWidths"), jsonIntegers(m.lineWidths));
    c.field(QStringLiteral("lineColors"), jsonIntegers(m.lineColors));
    c.field(QStringLiteral("wallWidth"), jsonInteger(m.wallWidth));
    c.field(QStringLiteral("spacing"), jsonIntegers(m.spacing));
    c.field(QStringLiteral("view3D"), jsonBool(m.view3D));
    c.field(QStringLiteral("viewAngles"), jsonInteger(m.viewAngles));
    c.field(QStringLiteral("pointGap"), jsonInteger(m.pointGap));
    c.field(QStringLiteral("depth3D"), jsonInteger(m.depth3D));

    c.field(QStringLiteral("backColorA"), jsonInteger(m.backColorA));
    c.field(QStringLiteral("backColorB"), jsonInteger(m.backColorB));
    c.field(QStringLiteral("backColorC"), jsonInteger(m.backColorC));
    c.field(QStringLiteral("indexedColors"), jsonMap(m.indexedColors, jsonInteger<Rgb>));
    c.field(QStringLiteral("backgroundGradient"), jsonGradient(m.backgroundGradient));

    c.field(QStringLiteral("clickLog"), jsonString(m.clickLog));
    c.field(QStringLiteral("cursorMode"), jsonInteger(m.cursorMode));
    c.field(QStringLiteral("chartType"), jsonInteger(m.chartType));
    c.field(QStringLiteral("layoutBits"), jsonInteger(m.layoutBits));
    c.field(QStringLiteral("printBits"), jsonInteger(m.printBits));
    c.field(QStringLiteral("axisBits"), jsonInteger(m.axisBits));
    c.field(QStringLiteral("gradientOn"), jsonBool(m.gradientOn));
    c.field(QStringLiteral("dragActive"), jsonBool(m.dragActive));

    c.field(QStringLiteral("fonts"), jsonObjects(m.fonts, Indent + 4, jsonFont));
    c.field(QStringLiteral("layoutPairs"), jsonIntegers(m.layoutPairs));
    c.field(QStringLiteral("member1"), jsonInteger(m.member1));
    c.field(QStringLiteral("member37"), jsonInteger(m.member37));
    c.field(QStringLiteral("member39"), jsonBool(m.member39));
    c.field(QStringLiteral("resourceLibrary"), jsonString(m.resourceLibrary));
    c.finish();
}

// Reads into a fresh model; the first problem found is kept and every later read is skipped.
class Reader
{
public:
    bool failed() const { return !m_problem.isEmpty(); }
    const QString &problem() const { return m_problem; }

    bool fail(const QString &text)
    {
        if (m_problem.isEmpty())
            m_problem = text;
        return false;
    }

    bool missing(const QString &name)
    {
        return fail(QStringLiteral("「%1」がありません").arg(name));
    }

    bool wrongType(const QString &name, const QString &expected)
    {
        return fail(QStringLiteral("「%1」の型が違います（%2のはずです）").arg(name, expected));
    }

    static QString member(const QString &prefix, const QString &key)
    {
        return prefix.isEmpty() ? key : prefix + QLatin1Char('.') + key;
    }

    static QString element(const QString &name, qsizetype index)
    {
        return QStringLiteral("%1[%2]").arg(name).arg(index);
    }

    // An absent member keeps out as it is and returns false, as does a wrong one.
    template <typename T, typename... Extra>
    bool optional(const QJsonObject &object, const QString &prefix, const QString &key, T &out,
                  Extra... extra)
    {
        const QJsonValue value = object.value(key);
        if (failed() || value.isUndefined())
            return false;
        return read(value, member(prefix, key), out, extra...);
    }

    template <typename T, typename... Extra>
    bool required(const QJsonObject &object, const QString &key, T &out, Extra... extra)
    {
        if (failed())
            return false;
        if (!object.contains(key))
            return missing(key);
        return read(object.value(key), key, out, extra...);
    }

    template <typename T> bool read(const QJsonValue &value, const QString &name, T &out)
    {
        if constexpr (std::is_same_v<T, bool>) {
            if (!value.isBool())
                return wrongType(name, QStringLiteral("真偽値 true か false"));
            out = value.toBool();
        } else if constexpr (std::is_same_v<T, double>) {
            return readDouble(value, name, out);
        } else if constexpr (std::is_same_v<T, float>) {
            // Chart values are singles; a double from elsewhere is rounded as the control
            // rounds what it is given.
            double number = 0;
            if (!readDouble(value, name, number))
                return false;
            out = float(number);
        } else if constexpr (std::is_same_v<T, QString>) {
            if (!value.isString())
                return wrongType(name, QStringLiteral("文字列"));
            out = value.toString();
        } else {
            static_assert(std::is_integral_v<T> && sizeof(T) <= 4,
                          "every integer of the model fits a double exactly");
            if (!value.isDouble() || value.toDouble() != std::trunc(value.toDouble()))
                return wrongType(name, QStringLiteral("整数"));
            const double number = value.toDouble();
            constexpr double Low = double(std::numeric_limits<T>::min());
            constexpr double High = double(std::numeric_limits<T>::max());
            if (!(number >= Low && number <= High)) {
                return fail(QStringLiteral("「%1」の値 %2 が範囲外です（%3〜%4）")
                                .arg(name, numberText(number), numberText(Low), numberText(High)));
            }
            out = T(number);
        }
        return true;
    }

    template <typename T>
    bool read(const QJsonValue &value, const QString &name, std::vector<T> &out, qint64 length)
    {
        QJsonArray array;
        if (!readArray(value, name, array, length))
            return false;
        std::vector<T> items(std::size_t(array.size()));
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (!read(array.at(i), element(name, i), items[std::size_t(i)]))
                return false;
        }
        out = std::move(items);
        return true;
    }

    template <typename T, std::size_t N>
    bool read(const QJsonValue &value, const QString &name, std::array<T, N> &out)
    {
        QJsonArray array;
        if (!readArray(value, name, array, qint64(N)))
            return false;
        std::array<T, N> items = out; // elements of objects start from their defaults
        for (std::size_t i = 0; i < N; ++i) {
            if (!read(array.at(qsizetype(i)), element(name, qsizetype(i)), items[i]))
                return false;
        }
        out = std::move(items);
        return true;
    }

    bool read(const QJsonValue &value, const QString &name, QStringList &out, qint64 length)
    {
        QJsonArray array;
        if (!readArray(value, name, array, length))
            return false;
        QStringList items(array.size());
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (!read(array.at(i), element(name, i), items[i]))
                return false;
        }
        out = std::move(items);
        return true;
    }

    // Maps are objects keyed by the decimal integer, as the writer spells it.
    template <typename Key, typename Value>
    bool read(const QJsonValue &value, const QString &name, std::map<Key, Value> &out)
    {
        if (!value.isObject())
            return wrongType(name, QStringLiteral("オブジェクト"));
        const QJsonObject object = value.toObject();
        std::map<Key, Value> items;
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool isNumber = false;
            const qint64 key = it.key().toLongLong(&isNumber);
            if (!isNumber || QString::number(key) != it.key() ||
                key < std::numeric_limits<Key>::min() || key > std::numeric_limits<Key>::max())
                return fail(
                    QStringLiteral("「%1」のキー「%2」が整数ではありません").arg(name, it.key()));
            if (!read(it.value(), member(name, it.key()), items[Key(key)]))
                return false;
        }
        out = std::move(items);
        return true;
    }

    bool read(const QJsonValue &value, const QString &name, ChartFontSpec &out)
    {
        QJsonObject object;
        if (!readObject(value, name, object))
            return false;
        ChartFontSpec font = out;
        optional(object, name, QStringLiteral("family"), font.family);
        optional(object, name, QStringLiteral("pointSize"), font.pointSize);
        optional(object, name, QStringLiteral("bold"), font.bold);
        optional(object, name, QStringLiteral("italic"), font.italic);
        optional(object, name, QStringLiteral("underline"), font.underline);
        optional(object, name, QStringLiteral("strikeOut"), font.strikeOut);
        optional(object, name, QStringLiteral("weight"), font.weight);
        optional(object, name, QStringLiteral("charset"), font.charset);
        if (failed())
            return false;
        out = font;
        return true;
    }

    bool read(const QJsonValue &value, const QString &name, ConstantLine &out)
    {
        QJsonObject object;
        if (!readObject(value, name, object))
            return false;
        optional(object, name, QStringLiteral("value"), out.value);
        optional(object, name, QStringLiteral("caption"), out.caption);
        return !failed();
    }

    bool read(const QJsonValue &value, const QString &name, BackgroundGradient &out)
    {
        QJsonObject object;
        if (!readObject(value, name, object))
            return false;
        BackgroundGradient gradient;
        optional(object, name, QStringLiteral("on"), gradient.on);
        optional(object, name, QStringLiteral("kind"), gradient.kind);
        optional(object, name, QStringLiteral("color1"), gradient.color1);
        optional(object, name, QStringLiteral("color2"), gradient.color2);
        if (failed())
            return false;
        out = gradient;
        return true;
    }

    bool read(const QJsonValue &value, const QString &name, ValueBand &out)
    {
        QJsonObject object;
        if (!readObject(value, name, object))
            return false;
        optional(object, name, QStringLiteral("from"), out.from);
        optional(object, name, QStringLiteral("till"), out.till);
        optional(object, name, QStringLiteral("color"), out.color);
        return !failed();
    }

private:
    bool readDouble(const QJsonValue &value, const QString &name, double &out)
    {
        if (value.isDouble()) {
            out = value.toDouble();
            return true;
        }
        const QString text = value.toString();
        if (value.isString() && text == nanText())
            out = std::numeric_limits<double>::quiet_NaN();
        else if (value.isString() && text == infinityText())
            out = std::numeric_limits<double>::infinity();
        else if (value.isString() && text == minusInfinityText())
            out = -std::numeric_limits<double>::infinity();
        else if (value.isString() && text == minusZeroText())
            out = -0.0;
        else
            return wrongType(name, QStringLiteral("数値"));
        return true;
    }

    // length < 0 takes any length; a wrong length is refused before anything is allocated.
    bool readArray(const QJsonValue &value, const QString &name, QJsonArray &out, qint64 length)
    {
        if (!value.isArray())
            return wrongType(name, QStringLiteral("配列"));
        out = value.toArray();
        if (length >= 0 && out.size() != length)
            return fail(lengthProblem(name, out.size(), length));
        return true;
    }

    bool readObject(const QJsonValue &value, const QString &name, QJsonObject &out)
    {
        if (!value.isObject())
            return wrongType(name, QStringLiteral("オブジェクト"));
        out = value.toObject();
        return true;
    }

    QString m_problem;
};

// Every member but the counts and the values may be left out and then takes the default of a
// new chart, as a chart resized to the counts would have it.
bool readChart(Reader &r, const QJsonObject &c, ChartModel &m)
{
    int series = 0;
    int points = 0;
    r.required(c, QStringLiteral("seriesCount"), series);
    r.required(c, QStringLiteral("pointCount"), points);
    if (r.failed())
        return false;
    const QString counts = countProblem(series, points);
    if (!counts.isEmpty())
        return r.fail(counts);
    m.seriesCount = series;
    m.pointCount = points;
    const qint64 cells = qint64(series) * points;
    const auto perSeries = std::size_t(series);

    r.required(c, QStringLiteral("values"), m.values, cells);
    if (!r.optional(c, {}, QStringLiteral("xValues"), m.xValues, cells))
        m.xValues.assign(std::size_t(cells), 0.0f);
    r.optional(c, {}, QStringLiteral("hasXValues"), m.hasXValues);
    if (!r.optional(c, {}, QStringLiteral("pointCaptions"), m.pointCaptions, qint64(points)))
        m.pointCaptions.resize(points);
    if (!r.optional(c, {}, QStringLiteral("seriesCaptions"), m.seriesCaptions, qint64(series)))
        m.seriesCaptions.resize(series);
    r.optional(c, {}, QStringLiteral("titles"), m.titles);

    r.optional(c, {}, QStringLiteral("seriesColors"), m.seriesColors, qint64(-1));
    if (!r.failed() && m.seriesColors.empty())
        return r.fail(QStringLiteral("「seriesColors」が空です"));
    if (!r.optional(c, {}, QStringLiteral("seriesAttrColors"), m.seriesAttrColors, qint64(series)))
        m.seriesAttrColors.assign(perSeries, 0);
    if (!r.optional(c, {}, QStringLiteral("markerStyles"), m.markerStyles, qint64(series)))
        m.markerStyles.assign(perSeries, 0);
    r.optional(c, {}, QStringLiteral("defaultMarkerStyle"), m.defaultMarkerStyle);
    if (!r.optional(c, {}, QStringLiteral("secondYAxis"), m.secondYAxis, qint64(series)))
        m.secondYAxis.assign(perSeries, 0);

    r.optional(c, {}, QStringLiteral("constants"), m.constants, qint64(-1));
    r.optional(c, {}, QStringLiteral("constantStyle"), m.constantStyle);
    r.optional(c, {}, QStringLiteral("bands"), m.bands, qint64(-1));

    r.optional(c, {}, QStringLiteral("axisValues"), m.axisValues);
    r.optional(c, {}, QStringLiteral("axisDecimals"), m.axisDecimals);
    r.optional(c, {}, QStringLiteral("queryAxis"), m.queryAxis);

    r.optional(c, {}, QStringLiteral("lineWidths"), m.lineWidths);
    r.optional(c, {}, QStringLiteral("lineColors"), m.lineColors);
    r.optional(c, {}, QStringLiteral("wallWidth"), m.wallWidth);
    r.optional(c, {}, QStringLiteral("spacing"), m.spacing);
    r.optional(c, {}, QStringLiteral("view3D"), m.view3D);
    r.optional(c, {}, QStringLiteral("viewAngles"), m.viewAngles);
    r.optional(c, {}, QStringLiteral("pointGap"), m.pointGap);
    r.optional(c, {}, QStringLiteral("depth3D"), m.depth3D);

    r.optional(c, {}, QStringLiteral("backColorA"), m.backColorA);
    r.optional(c, {}, QStringLiteral("backColorB"), m.backColorB);
    r.optional(c, {}, QStringLiteral("backColorC"), m.backColorC);
    r.optional(c, {}, QStringLiteral("indexedColors"), m.indexedColors);
    r.optional(c, {}, QStringLiteral("backgroundGradient"), m.backgroundGradient);

    r.optional(c, {}, QStringLiteral("clickLog"), m.clickLog);
    r.optional(c, {}, QStringLiteral("cursorMode"), m.cursorMode);
    r.optional(c, {}, QStringLiteral("chartType"), m.chartType);
    r.optional(c, {}, QStringLiteral("layoutBits"), m.layoutBits);
    r.optional(c, {}, QStringLiteral("printBits"), m.printBits);
    r.optional(c, {}, QStringLiteral("axisBits"), m.axisBits);
    r.optional(c, {}, QStringLiteral("gradientOn"), m.gradientOn);
    r.optional(c, {}, QStringLiteral("dragActive"), m.dragActive);

    r.optional(c, {}, QStringLiteral("fonts"), m.fonts);
    r.optional(c, {}, QStringLiteral("layoutPairs"), m.layoutPairs);
    r.optional(c, {}, QStringLiteral("member1"), m.member1);
    r.optional(c, {}, QStringLiteral("member37"), m.member37);
    r.optional(c, {}, QStringLiteral("member39"), m.member39);
    r.optional(c, {}, QStringLiteral("resourceLibrary"), m.resourceLibrary);
    return !r.failed();
}

} // namespace

bool ChartFile::canStore(const ChartModel &model)
{
    return storeProblem(model).isEmpty();
}

QByteArray ChartFile::toJson(const ChartModel &model)
{
    // format and version come first so that even a cut-off file is recognised as ours.
    QByteArray out;
    ObjectText top(out, 0);
    top.field(QStringLiteral("format"), jsonString(formatName()));
    top.field(QStringLiteral("version"), jsonInteger(Version));
    top.key(QStringLiteral("chart"));
    writeChart(out, model);
    top.finish();
    out += '\n';
    return out;
}

ChartFileResult ChartFile::fromJson(const QByteArray &json, ChartModel &model,
                                    const QString &fileName)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        if (!hasFormatName(json))
            return failure(ChartFileResult::NotChartFile, fileName);
        return failure(ChartFileResult::Damaged, fileName,
                       QStringLiteral("JSON の書式が %1 バイト目で崩れています").arg(error.offset));
    }
    const QJsonObject top = document.object();
    if (!document.isObject() || top.value(QStringLiteral("format")) != QJsonValue(formatName()))
        return failure(ChartFileResult::NotChartFile, fileName);

    // The version is judged before anything else: a later version may change any member.
    const QString versionKey = QStringLiteral("version");
    const QJsonValue version = top.value(versionKey);
    Reader r;
    if (version.isUndefined())
        r.missing(versionKey);
    else if (!version.isDouble() || version.toDouble() != std::trunc(version.toDouble()))
        r.wrongType(versionKey, QStringLiteral("整数"));
    else if (version.toDouble() > Version)
        return failure(ChartFileResult::Newer, fileName);
    else if (version.toDouble() < 1)
        r.fail(
            QStringLiteral("「version」の値 %1 が範囲外です").arg(numberText(version.toDouble())));

    const QString chartKey = QStringLiteral("chart");
    QJsonObject chart;
    if (!r.failed()) {
        if (!top.contains(chartKey))
            r.missing(chartKey);
        else if (!top.value(chartKey).isObject())
            r.wrongType(chartKey, QStringLiteral("オブジェクト"));
        else
            chart = top.value(chartKey).toObject();
    }
    ChartModel loaded;
    // The background painting is the program's: a file without one (any file of an earlier
    // qelPro) leaves it as it is.
    loaded.backgroundGradient = model.backgroundGradient;
    if (r.failed() || !readChart(r, chart, loaded))
        return failure(ChartFileResult::Damaged, fileName, r.problem());
    model = std::move(loaded);
    return {};
}

ChartFileResult ChartFile::load(const QString &path, ChartModel &model)
{
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(path, bytes, MaxFileSize);
    if (read.code == os::FileAccess::TooLarge) {
        // Refused unread; its head still tells a damaged chart file from anything else.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !hasFormatName(file.read(HeadSize)))
            return failure(ChartFileResult::NotChartFile, path);
        return failure(ChartFileResult::Damaged, path,
                       QStringLiteral("大きすぎます（%1 MiB まで）").arg(MaxFileSize >> 20));
    }
    if (!read)
        return {ChartFileResult::Unreadable,
                QStringLiteral("図表ファイルを読めません: ") + read.message};
    return fromJson(bytes, model, path);
}

ChartFileResult ChartFile::save(const ChartModel &model, const QString &path)
{
    // A model a file cannot hold is refused rather than written as a file that will not load.
    const QString problem = storeProblem(model);
    if (!problem.isEmpty())
        return failure(ChartFileResult::Unwritable, path, problem);
    const QByteArray json = toJson(model);
    if (json.size() > MaxFileSize)
        return failure(ChartFileResult::Unwritable, path,
                       QStringLiteral("大きすぎます（%1 MiB まで）").arg(MaxFileSize >> 20));
    // Written beside the target and renamed over it, so a failure keeps the old file; what is
    // not a regular file is never replaced.
    const os::Result saved = os::FileAccess::saveFile(path, json);
    if (!saved)
        return {ChartFileResult::Unwritable,
                QStringLiteral("図表ファイルを書き込めません: ") + saved.message};
    return {};
}

} // namespace qel::chartview
