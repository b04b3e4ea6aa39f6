#pragma once

#include <QEvent>

class QWidget;

// A drag bar as a screen reader knows it: a slider from 0 to 255 whose value speaks in the
// bank's words ("C 370 pF, code 37"). The bar's widget carries what it says as properties,
// so that whoever owns the values keeps them current:
namespace BarAccessible {

constexpr const char *Bar = "orvaneBar";            // bool: this widget is a bar
constexpr const char *Code = "orvaneBarCode";       // int 0–255
constexpr const char *ValueText = "orvaneBarValue"; // the value in words

// Asked of the bar by a screen reader: move to this code, as the operator's keys would.
class SetCodeEvent : public QEvent
{
public:
    static const QEvent::Type Kind;
    explicit SetCodeEvent(int code)
        : QEvent(Kind)
        , code(code)
    {}
    int code;
};

// Makes every widget with the Bar property a slider to accessibility; call once.
void install();
// Says to a screen reader that the bar's value changed.
void announce(QWidget *bar);

} // namespace BarAccessible
