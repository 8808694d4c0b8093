#include "chartdoc/FileTypeRegistration.h"

#include "os/FileAccess.h"
#include "os/Resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace qel::chartdoc {

namespace {

// Whether path is a regular file holding exactly bytes; anything else (a FIFO, a device, a
// folder) is not read.
bool holds(const QString &path, const QByteArray &bytes)
{
    QByteArray existing;
    return os::FileAccess::readRegularFile(path, existing, bytes.size()) && existing == bytes;
}

// Writes bytes unless the file already holds them; a name that is no regular file is left
// alone and reported.
void writeFile(const QString &path, const QByteArray &bytes, QStringList &problems)
{
    if (holds(path, bytes))
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const os::Result saved = os::FileAccess::saveFile(path, bytes);
    if (!saved)
        problems << saved.message;
}

void runTool(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return; // no desktop tools on this machine: the files are in place all the same
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    process.waitForFinished(20000);
}

QString iconFileName(const QString &mimeType)
{
    return QString(mimeType).replace(QLatin1Char('/'), QLatin1Char('-')) + QStringLiteral(".svg");
}

} // namespace

const std::array<FileTypeRegistration::FileType, 6> &FileTypeRegistration::types()
{
    static const std::array<FileType, 6> all = {{
        {QStringLiteral(".tbx"), QStringLiteral("qel_Tbx_file"), QStringLiteral("qel tbx"),
         QStringLiteral("qelTbxFile"), QStringLiteral("application/x-qel-tbx")},
        {QStringLiteral(".chf"), QStringLiteral("qel_chf_file"), QStringLiteral("qel chf"),
         QStringLiteral("qelFile"), QStringLiteral("application/x-qel-chf")},
        {QStringLiteral(".dfl"), QStringLiteral("qel_dfl_file"), QStringLiteral("qel dos line"),
         QStringLiteral("qelFiled"), QStringLiteral("application/x-qel-dfl")},
        {QStringLiteral(".dfb"), QStringLiteral("qel_dfb_file"), QStringLiteral("qel dos bar"),
         QStringLiteral("qelFiled"), QStringLiteral("application/x-qel-dfb")},
        {QStringLiteral(".dfd"), QStringLiteral("qel_dfd_file"), QStringLiteral("qel dos disc"),
         QStringLiteral("qelFiled"), QStringLiteral("application/x-qel-dfd")},
        {QStringLiteral(".sld"), QStringLiteral("qel_sld_file"), QStringLiteral("qel slide"),
         QString(), QStringLiteral("application/x-qel-sld")},
    }};
    return all;
}

FileTypeRegistration::FileTypeRegistration(const QString &dataHome, const QString &program)
    : m_dataHome(dataHome)
    , m_program(program)
{}

QString FileTypeRegistration::mimePackagePath() const
{
    return m_dataHome + QStringLiteral("/mime/packages/qelpro.xml");
}

QString FileTypeRegistration::desktopEntryPath() const
{
    return m_dataHome + QStringLiteral("/applications/qelpro.desktop");
}

QString FileTypeRegistration::mimePackage() const
{
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    for (const FileType &t : types()) {
        xml += QStringLiteral("  <mime-type type=\"%1\">\n"
                              "    <comment>%2</comment>\n"
                              "    <glob pattern=\"*%3\"/>\n")
                   .arg(t.mimeType, t.description, t.extension);
        if (!t.icon.isEmpty())
            xml += QStringLiteral("    <icon name=\"%1\"/>\n")
                       .arg(QString(t.mimeType).replace(QLatin1Char('/'), QLatin1Char('-')));
        xml += QStringLiteral("  </mime-type>\n");
    }
    return xml + QStringLiteral("</mime-info>\n");
}

QString FileTypeRegistration::execProgram(const QString &program)
{
    static const QString reserved = QStringLiteral(" \t\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (QChar c : program)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes)
        return program;
    QString quoted = program;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""))
        .replace(QLatin1Char('`'), QStringLiteral("\\`"))
        .replace(QLatin1Char('$'), QStringLiteral("\\$"));
    // In a desktop entry's string value a backslash is itself escaped once more.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString FileTypeRegistration::desktopEntry() const
{
    QStringList mimeTypes;
    for (const FileType &t : types())
        mimeTypes << t.mimeType;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=qelPro\n"
                          "Comment=qelPro is simple tool to create high grade presentation graph.\n"
                          "Exec=%1 %f\n"
                          "Icon=qelpro\n"
                          "Terminal=false\n"
                          "Categories=Office;Chart;\n"
                          "MimeType=%2;\n")
        .arg(execProgram(m_program), mimeTypes.join(QLatin1Char(';')));
}

std::vector<std::pair<QString, QByteArray>> FileTypeRegistration::iconFiles() const
{
    os::initIconResources();
    const QString base = m_dataHome + QStringLiteral("/icons/hicolor/scalable/");
    // The icons come from the program's own resources, never from the file system.
    const auto icon = [](const QString &name) {
        QFile file(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    std::vector<std::pair<QString, QByteArray>> files;
    files.emplace_back(base + QStringLiteral("apps/qelpro.svg"), icon(QStringLiteral("qelPro")));
    for (const FileType &t : types()) {
        if (!t.icon.isEmpty())
            files.emplace_back(base + QStringLiteral("mimetypes/") + iconFileName(t.mimeType),
                               icon(t.icon));
    }
    return files;
}

bool FileTypeRegistration::cacheCurrent(const QString &cache, const QString &tool) const
{
    // Without the desktop tool there is no cache to wait for.
    return QFile::exists(m_dataHome + cache) || QStandardPaths::findExecutable(tool).isEmpty();
}

bool FileTypeRegistration::mimeCacheCurrent() const
{
    return cacheCurrent(QStringLiteral("/mime/mime.cache"), QStringLiteral("update-mime-database"));
}

bool FileTypeRegistration::iconCacheCurrent() const
{
    return cacheCurrent(QStringLiteral("/icons/hicolor/icon-theme.cache"),
                        QStringLiteral("gtk-update-icon-cache"));
}

bool FileTypeRegistration::isCurrent(bool runDesktopTools) const
{
    if (!holds(desktopEntryPath(), desktopEntry().toUtf8()) ||
        !holds(mimePackagePath(), mimePackage().toUtf8()) ||
        (runDesktopTools && (!mimeCacheCurrent() || !iconCacheCurrent())))
        return false;
    for (const auto &[path, bytes] : iconFiles()) {
        if (!holds(path, bytes))
            return false;
    }
    return true;
}

os::Result FileTypeRegistration::registerFileTypes(bool runDesktopTools) const
{
    const QByteArray package = mimePackage().toUtf8();
    const QByteArray entry = desktopEntry().toUtf8();
    // Only what changed is written, and the desktop databases are rebuilt only when our part
    // of them changed, so a registration that is current costs a few small reads.
    const bool mimeChanged = !holds(mimePackagePath(), package) || !mimeCacheCurrent();
    const bool entryChanged = !holds(desktopEntryPath(), entry);
    QStringList problems;
    writeFile(mimePackagePath(), package, problems);
    writeFile(desktopEntryPath(), entry, problems);
    bool iconsChanged = !iconCacheCurrent();
    for (const auto &[path, bytes] : iconFiles()) {
        iconsChanged = iconsChanged || !holds(path, bytes);
        writeFile(path, bytes, problems);
    }
    if (runDesktopTools && mimeChanged)
        runTool(QStringLiteral("update-mime-database"), {m_dataHome + QStringLiteral("/mime")});
    if (runDesktopTools && entryChanged)
        runTool(QStringLiteral("update-desktop-database"),
                {m_dataHome + QStringLiteral("/applications")});
    // An icon folder without its cache makes every program's icon look-up probe each of the
    // theme's folders one by one.
    if (runDesktopTools && iconsChanged)
        runTool(QStringLiteral("gtk-update-icon-cache"),
                {QStringLiteral("--quiet"), QStringLiteral("--ignore-theme-index"),
                 QStringLiteral("--force"), m_dataHome + QStringLiteral("/icons/hicolor")});
    if (problems.isEmpty())
        return os::Result::success();
    return os::Result::failure(QStringLiteral("ファイルの種類を登録できませんでした。\n") +
                                   problems.join(u'\n'),
                               problems.size());
}

} // namespace qel::chartdoc
