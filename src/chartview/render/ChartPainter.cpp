#include "chartview/render/ChartPainter.h"

#include "chartview/render/ChartRenderer.h"

#include <QPainter>

#include <cmath>

namespace qel::chartview {

ChartPainter::ChartPainter(const ChartModel &model, BackgroundPainter background)
    : m_model(model)
    , m_background(std::move(background))
{}

ChartLayout ChartPainter::paint(QPainter *painter, const QRectF &target, qreal resolution,
                                bool recordPoints, std::vector<PointAnchor> spare) const
{
    const qreal scale = resolution > 0 ? resolution / 96.0 : 1.0;
    const QSizeF size(target.width() / scale, target.height() / scale);
    painter->save();
    painter->translate(target.topLeft());
    painter->scale(scale, scale);
    painter->setClipRect(QRectF(QPointF(0, 0), size), Qt::IntersectClip);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    ChartLayout layout =
        ChartRenderer(m_model, m_background, painter, size, recordPoints, std::move(spare)).run();
    painter->restore();
    return layout;
}

ChartLayout ChartPainter::layout(const QSizeF &size, bool withPoints) const
{
    return ChartRenderer(m_model, m_background, nullptr, size, withPoints).run();
}

QString ChartPainter::resolveFamily(const QString &family)
{
    const QString f = family.normalized(QString::NormalizationForm_KC).toLower();
    const bool proportional =
        f.contains(QStringLiteral("p明朝")) || f.contains(QStringLiteral("pゴシック")) ||
        f.contains(QStringLiteral("pmincho")) || f.contains(QStringLiteral("pgothic")) ||
        f.contains(QStringLiteral(" p"));
    if (f.contains(QStringLiteral("明朝")) || f.contains(QStringLiteral("mincho")) ||
        f.contains(QStringLiteral("serif")))
        return proportional ? QStringLiteral("IPAPMincho") : QStringLiteral("IPAMincho");
    if (f.contains(QStringLiteral("ゴシック")) || f.contains(QStringLiteral("gothic")) ||
        f.isEmpty())
        return proportional || f.isEmpty() ? QStringLiteral("IPAPGothic")
                                           : QStringLiteral("IPAGothic");
    return family;
}

QFont ChartPainter::fontFor(const ChartFontSpec &spec)
{
    QFont font(resolveFamily(spec.family));
    // Families without Japanese glyphs fall back to the IPA Gothic.
    QFont::insertSubstitution(font.family(), QStringLiteral("IPAPGothic"));
    const double points = std::isfinite(spec.pointSize) && spec.pointSize > 0 ? spec.pointSize : 11;
    font.setPixelSize(std::max(1, int(std::lround(std::min(points, 400.0) * 96.0 / 72.0))));
    font.setBold(spec.bold);
    if (!spec.bold && spec.weight > 0)
        font.setWeight(QFont::Weight(std::clamp(spec.weight, 100, 900)));
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace qel::chartview
