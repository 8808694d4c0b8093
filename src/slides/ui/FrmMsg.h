#pragma once

#include "os/MessageWindow.h"

#include <QElapsedTimer>
#include <QWidget>

class QLabel;

namespace qel::slides {

// frmMsg, "qel Message": a small notice window with the labels title and msg, shown without
// blocking the caller.
class FrmMsg : public QWidget, public os::MessageWindow
{
    Q_OBJECT

public:
    static constexpr int WidthTwips = 2025;
    static constexpr int HeightTwips = 1170;

    explicit FrmMsg(QWidget *parent = nullptr);

    void frmMsgShow(const QString &title, const QString &message) override;
    void hide() override { QWidget::hide(); }
    void sendToBack() override;
    // 5 x 5 twips, shown: the almost invisible window in front while keys go elsewhere.
    void shrink();

    QLabel *titleLabel() const { return m_title; }
    QLabel *messageLabel() const { return m_msg; }

private:
    int toPixels(int twips, bool vertical) const;

    QLabel *m_title;
    QLabel *m_msg;
    QElapsedTimer m_lastPump;
};

} // namespace qel::slides
