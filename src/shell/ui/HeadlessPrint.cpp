#include "shell/ui/HeadlessPrint.h"

#include "chartdoc/DataFileLoader.h"
#include "chartview/ui/ChartWidget.h"
#include "os/ProcessStarter.h"
#include "os/SettingsStore.h"
#include "os/UserDialogs.h"
#include "print/PdfDocument.h"
#include "print/ui/PrintCommands.h"
#include "print/ui/PrinterDialogs.h"
#include "shell/CommandLine.h"
#include "shell/ProgramState.h"
#include "shell/ResizeLayout.h"
#include "shell/StartupChart.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/PictureViewer.h"
#include "slides/SpeechOutput.h"

#include <QApplication>
#include <QFileInfo>
#include <QMap>
#include <QMenuBar>

#include <cstdio>

namespace qel::shell {

namespace {

// A print is made without a voice: every text is taken and nothing is heard.
class SilentSpeech : public slides::SpeechOutput
{
public:
    int warikomiSpeech(const QString &) override { return 1; }
    void voiceSpeak(QString &) override {}
    void voiceStop() override {}
};

// Settings for this run only: a print leaves the user's settings as they were.
class RunSettings : public os::SettingsStore
{
public:
    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue) const override
    {
        return m_values.value(application + u'/' + section + u'/' + key, defaultValue);
    }
    void setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value) override
    {
        m_values.insert(application + u'/' + section + u'/' + key, value);
    }
    void remove(const QString &application, const QString &section, const QString &key) override
    {
        m_values.remove(application + u'/' + section + u'/' + key);
    }

private:
    QMap<QString, QString> m_values;
};

// Message boxes keep their texts and take their default answers.
class RunDialogs : public os::UserDialogs
{
public:
    os::MessageAnswer message(const os::MessageRequest &request) override
    {
        QString text = request.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        texts.append(text);
        return request.defaultAnswer;
    }
    QStringList chooseFiles(const os::FileDialogRequest &) override { return {}; }
    void beep() override {}
    std::optional<quint32> chooseColor(quint32) override { return std::nullopt; }

    QStringList texts;
};

// Nothing is started from a print.
class NoPrograms : public os::ProcessStarter
{
public:
    bool startDetached(const QString &program, const QStringList &, QString *errorText) override
    {
        if (errorText)
            *errorText = program + QStringLiteral(": not started from the command line");
        return false;
    }
    bool isRunning(qint64) const override { return false; }
    qint64 lastProcessId() const override { return 0; }
};

// The printer's dialogues are never shown: the page is set on the command line.
class NoPrinterDialogs : public print::PrinterDialogs
{
public:
    int printDialog(QPrinter &, QWidget *) override { return 0; }
    bool pageSetup(QPrinter &, QWidget *) override { return false; }
    bool preview(QPrinter &, const std::function<void(QPrinter *)> &, QWidget *) override
    {
        return false;
    }
};

print::PrintCommands::Layout layoutFor(const QString &name)
{
    using Layout = print::PrintCommands::Layout;
    if (name == QStringLiteral("screen"))
        return Layout::Screen;
    if (name == QStringLiteral("fill"))
        return Layout::Fill;
    if (name == QStringLiteral("form"))
        return Layout::Form;
    return Layout::Standard;
}

// The windows of a print are never on screen: the platform's notes about showing them
// (size hints, raising) say nothing to the user and are left out of the output.
QtMessageHandler previousHandler = nullptr;

void quietWindowNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int HeadlessPrint::run(const PrintRequest &request, const QString &input, QString &error)
{
    const chartdoc::FileKind kind =
        input.isEmpty() ? chartdoc::FileKind::Chart : chartdoc::DataFileLoader::kindOf(input);
    if (kind == chartdoc::FileKind::SlideScript) {
        error = QStringLiteral("%1: スライドは印刷できません (.chf, .tbx, .df?, 画像)").arg(input);
        return 2;
    }
    // The output is checked before anything is drawn.
    const QString output = QFileInfo(request.output).absoluteFilePath();

    struct QuietNotes
    {
        QuietNotes() { previousHandler = qInstallMessageHandler(quietWindowNotes); }
        ~QuietNotes() { qInstallMessageHandler(previousHandler); }
    } quiet;
    ProgramState state;
    RunSettings settings;
    RunDialogs dialogs;
    NoPrograms starter;
    SilentSpeech speech;
    NoPrinterDialogs printerDialogs;
    MainWindow window({.state = state,
                       .settings = settings,
                       .dialogs = dialogs,
                       .starter = starter,
                       .speech = speech,
                       .printerDialogs = &printerDialogs});
    window.setAttribute(Qt::WA_DontShowOnScreen);

    StartupChart::prepareStartupChart(window.chart1(), window.chart2(),
                                      programDirectoryPath() + QLatin1Char('/'));
    window.document().controlsFollowChart();

    // The window at its designed size, laid out as on screen.
    const Twips t = window.twips();
    const QSize inner(t.toPixelsCeilX(ResizeLayout::MinWidth),
                      t.toPixelsCeilY(ResizeLayout::MinHeight));
    window.resize(inner + QSize(0, window.menuBar()->sizeHint().height()));
    window.show();
    QApplication::processEvents();

    const QPageLayout page = print::PdfDocument::layoutFor(
        request.page == QStringLiteral("Letter") ? QPageSize::Letter : QPageSize::A4,
        request.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    print::PdfDocument pdf(page);
    print::PrintCommands &printing = window.printCommands();

    if (kind == chartdoc::FileKind::Picture) {
        if (!window.jpgShow(input)) {
            PictureViewer *viewer = window.pictureViewer();
            error = viewer ? viewer->lastError().message : LoadSave::unreadableText(input);
            return 1;
        }
        const PictureViewer *viewer = window.pictureViewer();
        printing.printPictureOn(pdf.page(), viewer->picture(), viewer->fileName());
    } else {
        if (!input.isEmpty()) {
            const QString path = QFileInfo(input).absoluteFilePath();
            const chartdoc::LoadResult loaded =
                chartdoc::DataFileLoader(window.document()).open(path);
            dialogs.texts.append(loaded.message);
            dialogs.texts.removeAll(QString());
            if (!loaded.ok()) {
                error = dialogs.texts.join(QLatin1Char('\n'));
                return 1;
            }
            state.currentFile = path;
            QApplication::processEvents();
        }
        if (request.mode == 2) {
            // The multiple chart prints at the size it would be shown at.
            chartview::ChartWidget *chart2 = window.chartWidget2();
            chart2->chart().setViewSize(chart2->chartRect().size());
        }
        printing.printOn(pdf.page(), {layoutFor(request.layout), request.mode, request.white});
    }
    for (const QString &text : std::as_const(dialogs.texts))
        std::fprintf(stderr, "qelpro: %s\n", text.toUtf8().constData());

    const os::Result saved = pdf.save(output);
    if (!saved) {
        error = print::PrintCommands::failedText() + QLatin1Char('\n') + saved.message;
        return 1;
    }
    return 0;
}

} // namespace qel::shell
