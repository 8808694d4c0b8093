#pragma once

#include "shell/Form3State.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace qel::shell {

// The colour window "Gradient, Constant & MarkStyle", shown over a Form3State. It opens from the
// main window's colour button and stays loaded until the main window closes.
class Form3 : public QWidget
{
    Q_OBJECT

public:
    explicit Form3(Form3State &state, QWidget *parent = nullptr);

    Form3State &state() { return m_state; }
    QToolButton *backgroundButton(int kind) const;
    QPushButton *gradientBox(int which) const { return m_picture[std::size_t(which == 2)]; }
    QPushButton *seriesColorBox(int index) const { return m_serColor[std::size_t(index)]; }
    QLineEdit *groupBox(int index) const { return m_group[std::size_t(index)]; }
    QTableWidget *pointStyleGrid() const { return m_grid; }

    // Shows every box as the state now is.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildBackground();
    QWidget *buildSeriesColors();
    QWidget *buildConstants();
    QWidget *buildPointStyles();
    void refreshGrid();
    void takeRows();

    Form3State &m_state;
    std::array<QToolButton *, 4> m_ribbon{};
    std::array<QPushButton *, 2> m_picture{};
    std::array<QPushButton *, 3> m_serColor{};
    std::array<QLineEdit *, 2> m_group{};
    QToolButton *m_via = nullptr;
    std::array<QLineEdit *, Form3State::Rows> m_constVal{};
    std::array<QLineEdit *, Form3State::Rows> m_constStr{};
    std::array<QLineEdit *, Form3State::Rows> m_from{};
    std::array<QLineEdit *, Form3State::Rows> m_till{};
    std::array<QPushButton *, Form3State::Rows> m_constCol{};
    QPushButton *m_command1 = nullptr;
    QTableWidget *m_grid = nullptr;
};

} // namespace qel::shell
