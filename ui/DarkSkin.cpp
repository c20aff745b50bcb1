#include "ui/DarkSkin.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace
{

class TSkinStyle : public QProxyStyle
{
public:
    TSkinStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    // Fusion's focus frame is a faint tint of the highlight that vanishes on dark buttons; a
    // solid line stands out at least 3:1 from every background of the skin.
    void drawPrimitive(PrimitiveElement Element, const QStyleOption *Option, QPainter *Painter,
                       const QWidget *Widget) const override
    {
        const bool keyboardFocus = Option->state & State_KeyboardFocusChange;
        if (Element == PE_FrameFocusRect && keyboardFocus) {
            DrawFocusFrame(Painter, Option->rect);
            return;
        }
        QProxyStyle::drawPrimitive(Element, Option, Painter, Widget);
        // A push button draws its own faint focus into its panel.
        if (Element == PE_PanelButtonCommand && keyboardFocus && (Option->state & State_HasFocus))
            DrawFocusFrame(Painter, Option->rect.adjusted(2, 2, -2, -2));
    }

private:
    static void DrawFocusFrame(QPainter *Painter, const QRect &Rect)
    {
        Painter->save();
        Painter->setPen(QPen(QColor(120, 170, 230), 1));
        Painter->setBrush(Qt::NoBrush);
        Painter->drawRect(Rect.adjusted(0, 0, -1, -1));
        Painter->restore();
    }
};

} // namespace

void ApplyDarkSkin(QApplication &Application)
{
    Application.setStyle(new TSkinStyle);

    // Contrast against every background it stands on: normal text at least 7:1, disabled text
    // and placeholders at least 4.5:1.
    const QColor fieldBack(26, 28, 31);
    const QColor text(180, 189, 204);
    const QColor window(43, 46, 51);
    const QColor button(47, 51, 56);
    const QColor buttonText(200, 207, 219);
    const QColor disabledText(152, 158, 168);

    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, fieldBack);
    p.setColor(QPalette::AlternateBase, QColor(33, 36, 40));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, buttonText);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::ToolTipBase, fieldBack);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabledText);
    // Bright enough to show where the focus is on every background, dark enough under white.
    p.setColor(QPalette::Highlight, QColor(60, 110, 170));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 160, 220));
    p.setColor(QPalette::Light, QColor(70, 75, 82));
    p.setColor(QPalette::Midlight, QColor(60, 64, 70));
    p.setColor(QPalette::Mid, QColor(35, 38, 42));
    p.setColor(QPalette::Dark, QColor(22, 24, 27));
    p.setColor(QPalette::Shadow, Qt::black);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabledText);
    Application.setPalette(p);

    QFont font = QFontDatabase::families().contains(QStringLiteral("Tahoma"))
                     ? QFont(QStringLiteral("Tahoma"))
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    Application.setFont(font);
}
