#pragma once

#include <QString>
#include <QWidget>

class QGroupBox;

namespace qel::shell {

// The main window's column of commands beside the charts: Frame2 (files, windows, printing)
// and Frame3 (the chart's view options and point inspection), each control under its
// designed name with its caption and tip. The frames are laid out by Qt in the system font;
// the window places the frames themselves. Users find the controls by name.
class CommandColumn
{
public:
    // Builds both frames as children of form.
    explicit CommandColumn(QWidget *form);

    QGroupBox *frame2() const { return m_frame2; }
    QGroupBox *frame3() const { return m_frame3; }

    template <typename T = QWidget> T *control(const QString &name) const
    {
        return m_form->findChild<T *>(name);
    }
    // Every named control of the column, for layout checks.
    QList<QWidget *> controls() const;

private:
    void buildFrame2();
    void buildFrame3();

    QWidget *m_form;
    QGroupBox *m_frame2;
    QGroupBox *m_frame3;
};

} // namespace qel::shell
