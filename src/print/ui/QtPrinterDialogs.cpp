#include "print/ui/QtPrinterDialogs.h"

#include <QAction>
#include <QDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace qel::print {

int QtPrinterDialogs::printDialog(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    // A print is one document of the chart: no page ranges or selections to choose.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    return std::max(1, printer.copyCount());
}

bool QtPrinterDialogs::pageSetup(QPrinter &printer, QWidget *parent)
{
    QPageSetupDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("ページ設定"));
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrinterDialogs::preview(QPrinter &printer, const std::function<void(QPrinter *)> &paint,
                               QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QToolBar(&dialog);
    auto *view = new QPrintPreviewWidget(&printer, &dialog);
    QObject::connect(view, &QPrintPreviewWidget::paintRequested, &dialog, paint);
    layout->addWidget(bar);
    layout->addWidget(view, 1);

    bool print = false;
    QAction *printAction = bar->addAction(QStringLiteral("印刷..."), &dialog, [&] {
        print = true;
        dialog.accept();
    });
    printAction->setShortcut(QKeySequence::Print);
    bar->addAction(QStringLiteral("ページ設定..."), &dialog, [&] {
        if (pageSetup(printer, &dialog))
            view->updatePreview();
    });
    bar->addSeparator();
    bar->addAction(QStringLiteral("ページ全体"), view, &QPrintPreviewWidget::fitInView);
    bar->addAction(QStringLiteral("幅に合わせる"), view, &QPrintPreviewWidget::fitToWidth);
    QAction *zoomIn = bar->addAction(QStringLiteral("拡大"), view, [view] { view->zoomIn(); });
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    QAction *zoomOut = bar->addAction(QStringLiteral("縮小"), view, [view] { view->zoomOut(); });
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    bar->addSeparator();
    bar->addAction(QStringLiteral("閉じる"), &dialog, &QDialog::reject);

    dialog.resize(820, 980);
    dialog.exec();
    return print;
}

} // namespace qel::print
