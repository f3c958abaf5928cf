#pragma once
// The colours the screens give meaning to, named once.
#include <QColor>
#include <QPalette>
#include <QWidget>
#include <optional>

namespace colours {

// &HEEFFFF: editable, unselected things (day labels, an open day's grid, a focused memo).
inline const QColor Cream{255, 255, 238};
// QBColor(7): the open day in the calendar, an unfocused memo.
inline const QColor LightGrey{192, 192, 192};
// QBColor(11): the calendar selection while the calendar is in use.
inline const QColor LightCyan{0, 255, 255};
// QBColor(12): the page lock.
inline const QColor LightRed{255, 0, 0};
// QBColor(0).
inline const QColor Black{0, 0, 0};
// &HE0E0E0: a memo box before it first takes the focus, the search panel.
inline const QColor PanelGrey{224, 224, 224};
// &H808080: the screen's own background and the book number box.
inline const QColor DarkGrey{128, 128, 128};
// &H404040: the function key legend.
inline const QColor LegendGrey{64, 64, 64};
// &HFFFF00 as the platform reads it (blue-green-red): cyan text.
inline const QColor Cyan{0, 255, 255};
inline const QColor Yellow{255, 255, 0};

// &H80000001: the system's desktop colour, the grid of a closed day. Qt offers no desktop
// colour, so a fixed slate blue stands in for it.
inline const QColor Desktop{58, 110, 165};

// Gives a control a background colour (and a text colour), whichever role its kind paints
// its face with.
inline void paint(QWidget* w, const QColor& background, std::optional<QColor> text = std::nullopt)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Button, background);
    if (text) {
        p.setColor(QPalette::Text, *text);
        p.setColor(QPalette::WindowText, *text);
    }
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace colours
