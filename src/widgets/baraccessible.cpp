#include "baraccessible.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QWidget>

namespace BarAccessible {

const QEvent::Type SetCodeEvent::Kind = static_cast<QEvent::Type>(QEvent::registerEventType());

namespace {

class Interface : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit Interface(QWidget *bar)
        : QAccessibleWidget(bar, QAccessible::Slider)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return widget()->property(ValueText).toString();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return widget()->property(Code).toInt(); }
    void setCurrentValue(const QVariant &value) override
    {
        QCoreApplication::postEvent(widget(), new SetCodeEvent(qBound(0, value.toInt(), 255)));
    }
    QVariant maximumValue() const override { return 255; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->property(Bar).toBool())
        return new Interface(widget);
    return nullptr;
}

} // namespace

void install()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(factory);
    installed = true;
}

void announce(QWidget *bar)
{
    QAccessibleValueChangeEvent event(bar, bar->property(Code).toInt());
    QAccessible::updateAccessibility(&event);
}

} // namespace BarAccessible
