#include "PdfTools.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace qel::test {

namespace {

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return process.readAllStandardOutput();
}

} // namespace

QString pdfText(const QString &path)
{
    return QString::fromUtf8(run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}));
}

QString pdfInfo(const QString &path)
{
    return QString::fromUtf8(run(QStringLiteral("pdfinfo"), {path}));
}

int pdfPages(const QString &path)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto match = pages.match(pdfInfo(path));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QImage pdfPage(const QString &path, int dpi, int page)
{
    QTemporaryDir dir;
    const QString prefix = QDir(dir.path()).filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page),
         QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"),
         QStringLiteral("-png"), path, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QRect inkBox(const QImage &image, int top, int bottom)
{
    if (bottom < 0 || bottom >= image.height())
        bottom = image.height() - 1;
    QRect box;
    for (int y = std::max(0, top); y <= bottom; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(line[x]) < 235 || qGreen(line[x]) < 235 || qBlue(line[x]) < 235)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace qel::test
