#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

#include <optional>

class QFontDialog;
class QPushButton;

namespace qel::shell {

// The legend box's look as the font dialogue chooses it: font, effects and text colour.
struct LegendFontChoice
{
    QFont font;
    QColor color;
};

// The font dialogue of the legend box: the font with its effects (underline, strike-through)
// and the text colour, as one choice. Cancel changes nothing.
class LegendFontDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LegendFontDialog(const LegendFontChoice &current, QWidget *parent = nullptr);

    LegendFontChoice choice() const;
    // Shows the dialogue; nothing when the user cancelled.
    static std::optional<LegendFontChoice> ask(const LegendFontChoice &current, QWidget *parent);

private:
    void showColor();

    QFontDialog *m_fonts;
    QPushButton *m_colorButton;
    QColor m_color;
};

} // namespace qel::shell
