#include "controlhints.h"

#include "model/bandnames.h"
#include "model/valuetext.h"
#include "widgets/baraccessible.h"

#include <QAccessible>
#include <QWidget>

ControlHints::ControlHints(Panel &panel, QWidget *window)
    : QObject(window)
    , m_panel(panel)
    , m_window(window)
{
    BarAccessible::install();
    for (const QWidget *widget : m_window->findChildren<QWidget *>())
        m_designed.insert(widget, widget->toolTip());
    for (const char *bar : {"lbl1", "lbl2"}) {
        if (QWidget *label = control(QString::fromLatin1(bar)))
            label->setProperty(BarAccessible::Bar, true);
    }
    m_announce.setSingleShot(true);
    m_announce.setInterval(AnnounceMs);
    connect(&m_announce, &QTimer::timeout, this, [this] {
        for (QWidget *bar : std::as_const(m_barsToAnnounce))
            BarAccessible::announce(bar);
        m_barsToAnnounce.clear();
    });
    nameFixed();
    follow();
    connect(&m_panel, &Panel::changed, this, &ControlHints::follow);
}

QWidget *ControlHints::control(const QString &name) const
{
    return m_window->findChild<QWidget *>(name);
}

void ControlHints::describe(const QString &name, const QString &accessibleName,
                            const QString &description, const QString &toolTip)
{
    QWidget *widget = control(name);
    if (!widget)
        return;
    widget->setAccessibleName(accessibleName);
    // A tooltip of the design stays, and the description begins with it.
    const QString designed = m_designed.value(widget);
    if (designed.isEmpty() && !toolTip.isEmpty())
        widget->setToolTip(toolTip);
    widget->setAccessibleDescription(designed.isEmpty() ? description
                                     : description.isEmpty()
                                         ? designed
                                         : designed + QLatin1String(". ") + description);
}

void ControlHints::nameFixed()
{
    m_window->setAccessibleName(tr("Orvane: управление блоком реле антенного тюнера"));
    for (const char bank : {'C', 'L'}) {
        const QString b = QString(QLatin1Char(bank));
        const QString which = bank == 'C' ? tr("ёмкости C") : tr("индуктивности L");
        describe(QStringLiteral("txt%1Enter").arg(b), tr("Код %1").arg(b),
                 tr("Код реле %1 от 0 до 255; применяется кнопкой «%2 =»").arg(which, b));
        describe(QStringLiteral("cmd%1Enter").arg(b), tr("%1 =, применить код").arg(b),
                 tr("Поставить реле %1 по коду из поля").arg(which));
        describe(QStringLiteral("cmdDecrement%1").arg(b), tr("<<, %1 на шаг вниз").arg(b),
                 tr("Уменьшить код %1 на 1").arg(b), tr("Уменьшить код %1 на 1").arg(b));
        describe(QStringLiteral("cmdIncrement%1").arg(b), tr(">>, %1 на шаг вверх").arg(b),
                 tr("Увеличить код %1 на 1").arg(b), tr("Увеличить код %1 на 1").arg(b));
        const QString bar = bank == 'C' ? QStringLiteral("lbl1") : QStringLiteral("lbl2");
        const QString how = tr("Нажмите или протяните мышью: код выставится, когда кнопка "
                               "отпущена. С клавиатуры: стрелки ±1, Page Up/Page Down ±16, "
                               "Home/End — 0 и 255, колесо мыши ±1.");
        describe(bar, tr("Полоса %1").arg(b), how, tr("Полоса %1. %2").arg(b, how));
    }
    describe(QStringLiteral("Opt1"), QStringLiteral("Tx"),
             tr("Конденсаторы на стороне передатчика"), tr("Конденсаторы на стороне передатчика"));
    describe(QStringLiteral("Opt2"), QStringLiteral("Ant"), tr("Конденсаторы на стороне антенны"),
             tr("Конденсаторы на стороне антенны"));
    for (int a = 1; a <= Slots::Antennas; ++a)
        describe(QStringLiteral("OptAnt%1").arg(a), tr("Антенна %1").arg(a),
                 tr("Выбрать антенну и вызвать её ячейку"));
    static const char *const bands[Slots::Bands] = {"Opt160", "Opt80", "Opt40", "Opt30", "Opt20",
                                                    "Opt17",  "Opt15", "Opt12", "Opt10", "Opt6"};
    for (int b = 0; b < Slots::Bands; ++b)
        describe(QString::fromLatin1(bands[b]), tr("Диапазон %1").arg(BandNames::caption(b)),
                 tr("Выбрать диапазон и вызвать его ячейку"),
                 tr("Диапазон %1: выбрать и вызвать ячейку").arg(BandNames::caption(b)));
    for (int s = 1; s <= Slots::SubBands; ++s)
        describe(QStringLiteral("OptSB%1").arg(s), tr("Поддиапазон %1").arg(s),
                 tr("Выбрать поддиапазон и вызвать ячейку; любая клавиша вызывает её снова"));
    describe(QStringLiteral("cmb1"), tr("Номер порта"), tr("Порт контроллера, 1–16"));
    describe(QStringLiteral("cmdSave1"), QStringLiteral("Save"));
    describe(QStringLiteral("cmdRefresh"), QStringLiteral("Refresh"));
    describe(QStringLiteral("cmdOptions"), tr("..., шаги реле"));
    describe(QStringLiteral("Command1"), tr("О программе"));
    describe(QStringLiteral("menuButton"), tr("Меню"),
             tr("Меню дополнений; также клавиша меню или Shift+F10"));
}

void ControlHints::follow()
{
    const Panel::State state = m_panel.state();
    const bool steps = m_first || state.stepC != m_shown.stepC || state.stepL != m_shown.stepL;
    for (int bit = 0; bit < 8 && steps; ++bit) {
        const int weight = 1 << bit;
        describe(QStringLiteral("tglC%1").arg(bit), tr("C, бит %1").arg(bit),
                 tr("Реле ёмкости %1").arg(capacitanceText(state.stepC, weight)),
                 tr("Реле ёмкости, бит %1: %2; нажмите, чтобы переключить")
                     .arg(bit)
                     .arg(capacitanceText(state.stepC, weight)));
        describe(QStringLiteral("tglL%1").arg(bit), tr("L, бит %1").arg(bit),
                 tr("Реле индуктивности %1")
                     .arg(inductanceText(static_cast<qint16>(state.stepL), weight)),
                 tr("Реле индуктивности, бит %1: %2; нажмите, чтобы переключить")
                     .arg(bit)
                     .arg(inductanceText(static_cast<qint16>(state.stepL), weight)));
    }
    const auto bar = [&](const char *name, int code, const QString &text, bool changed) {
        QWidget *label = control(QString::fromLatin1(name));
        if (!label)
            return;
        label->setProperty(BarAccessible::Code, code);
        label->setProperty(BarAccessible::ValueText, text);
        if (changed && !m_barsToAnnounce.contains(label)) {
            m_barsToAnnounce << label;
            m_announce.start();
        }
    };
    bar("lbl1", state.relays.codeC,
        tr("C %1, код %2")
            .arg(capacitanceText(state.stepC, state.relays.codeC))
            .arg(state.relays.codeC),
        !m_first && (state.relays.codeC != m_shown.relays.codeC || steps));
    bar("lbl2", state.relays.codeL,
        tr("L %1, код %2")
            .arg(inductanceText(static_cast<qint16>(state.stepL), state.relays.codeL))
            .arg(state.relays.codeL),
        !m_first && (state.relays.codeL != m_shown.relays.codeL || steps));
    if (QWidget *picture = control(QStringLiteral("Img1")))
        picture->setAccessibleName(state.relays.side == 1
                                       ? tr("Схема: конденсаторы на стороне передатчика")
                                       : tr("Схема: конденсаторы на стороне антенны"));
    if (m_first || !(state.port == m_shown.port)) {
        QString port;
        switch (state.port.state) {
        case Panel::Port::State::Open:
            port = tr("порт %1, %2, открыт").arg(state.port.number).arg(state.port.device);
            break;
        case Panel::Port::State::Opening:
            port = tr("порт %1, %2, подключение").arg(state.port.number).arg(state.port.device);
            break;
        case Panel::Port::State::Failed:
            port = tr("порт %1 не доступен: %2").arg(state.port.number).arg(state.port.problem);
            break;
        case Panel::Port::State::Closed:
            port = state.port.number > 0 ? tr("порт %1 закрыт").arg(state.port.number)
                                         : tr("порт не выбран");
            break;
        }
        describe(QStringLiteral("Label3"), QStringLiteral("Comport: ") + port);
        if (QWidget *label = control(QStringLiteral("Label3"))) {
            QAccessibleEvent event(label, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
    m_shown = state;
    m_first = false;
}
