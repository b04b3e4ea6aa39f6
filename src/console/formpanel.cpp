#include "formpanel.h"
#include "ui_form1.h"

#include "form1.h"
#include "model/bandnames.h"
#include "settings/conflayout.h"
#include "widgets/baraccessible.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Changes reach those who watch within this; a burst of changes is one report.
constexpr int SettleMs = 10;

} // namespace

FormPanel::FormPanel(Form1 &form)
    : Panel(&form)
    , m_form(form)
{
    m_check.setSingleShot(true);
    m_check.setInterval(SettleMs);
    connect(&m_check, &QTimer::timeout, this, &FormPanel::check);
    const auto watch = [this](QAbstractButton *button) {
        connect(button, &QAbstractButton::toggled, this, &FormPanel::touch);
    };
    for (QAbstractButton *toggle : m_form.m_bankC.controls.toggles)
        watch(toggle);
    for (QAbstractButton *toggle : m_form.m_bankL.controls.toggles)
        watch(toggle);
    for (QAbstractButton *option : m_form.m_selectors)
        watch(option);
    watch(m_form.ui->Opt1);
    // Every packet, open, close and failure of the port passes through the log.
    connect(&m_form.m_link.log(), &LineLog::added, this, &FormPanel::touch);
    connect(&m_form.m_link, &ControllerLink::accepting, this, [this] {
        m_redeliver = true;
        redeliver();
    });
    // Save and the steps write conf.cfg; these run after the window's own handlers.
    connect(m_form.ui->cmdSave1, &QAbstractButton::clicked, this, [this] {
        sayStored();
        touch();
        if (m_form.m_file.errorString().isEmpty())
            emit slotStored(Cause::Operator);
    });
    connect(m_form.ui->cmdOptions, &QAbstractButton::clicked, this, &FormPanel::touch);
    connect(m_form.ui->cmb1, &QComboBox::currentIndexChanged, this, &FormPanel::touch);
    // The bars take the focus after the designed controls.
    QWidget *before = m_form.ui->Opt6;
    for (QLabel *bar : {m_form.ui->lbl1, m_form.ui->lbl2}) {
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->installEventFilter(this);
        QWidget::setTabOrder(before, bar);
        before = bar;
    }
    m_last = state();
}

bool FormPanel::eventFilter(QObject *watched, QEvent *event)
{
    const int bank = watched == m_form.ui->lbl1 ? 0 : watched == m_form.ui->lbl2 ? 1 : -1;
    if (bank < 0)
        return false;
    const int code =
        bank == 0 ? composeCode(m_form.m_bankC.controls) : composeCode(m_form.m_bankL.controls);
    int wanted = -1;
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Right:
        case Qt::Key_Up:
            wanted = code + 1;
            break;
        case Qt::Key_Left:
        case Qt::Key_Down:
            wanted = code - 1;
            break;
        case Qt::Key_PageUp:
            wanted = code + 16;
            break;
        case Qt::Key_PageDown:
            wanted = code - 16;
            break;
        case Qt::Key_Home:
            wanted = 0;
            break;
        case Qt::Key_End:
            wanted = 255;
            break;
        default:
            return false;
        }
    } else if (event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (delta == 0)
            return false;
        wanted = code + (delta > 0 ? 1 : -1);
    } else if (event->type() == BarAccessible::SetCodeEvent::Kind) {
        wanted = static_cast<BarAccessible::SetCodeEvent *>(event)->code;
    } else {
        return false;
    }
    moveBar(bank, std::clamp(wanted, 0, 255));
    return true;
}

void FormPanel::moveBar(int bank, int code)
{
    if (held()) {
        refuseWhileHeld();
        return;
    }
    const Form1::Bank which = bank == 0 ? Form1::Bank::C : Form1::Bank::L;
    const int width = m_form.parts(which).label->width();
    // The first pixel whose press picks the code.
    int offset = (code * width + 254) / 255;
    while (offset > 0 && std::floor(double(offset - 1) / width * 255) >= code)
        --offset;
    m_form.barMove(which, 1, offset);
    m_form.barUp(which, 1, offset);
}

void FormPanel::check()
{
    const State now = state();
    if (now == m_last)
        return;
    m_last = now;
    emit changed();
}

Panel::State FormPanel::state() const
{
    State s;
    s.selection = ConfLayout::selectionOf(m_form.m_module->SelectedSlotBase());
    s.relays = {composeCode(m_form.m_bankC.controls), composeCode(m_form.m_bankL.controls),
                static_cast<quint8>(m_form.ui->Opt1->isChecked() ? 1 : 0)};
    s.saved = stored(s.selection) == s.relays;
    if (m_memory && m_memory->selection == s.selection && m_memory->relays == s.relays)
        s.memory = m_memory->bin;
    s.delivered = m_form.m_link.delivered();
    s.stepC = m_form.m_module->StepC;
    s.stepL = m_form.m_module->StepL;
    const SerialService &port = m_form.m_comPort1;
    s.port.number = port.CommPort();
    s.port.device = PortMap::isPortNumber(port.CommPort()) ? port.target() : QString();
    s.port.problem = port.problem().text();
    s.port.state = port.opening()                             ? Port::State::Opening
                   : port.PortOpen()                          ? Port::State::Open
                   : port.problem().kind != LineProblem::None ? Port::State::Failed
                                                              : Port::State::Closed;
    s.radio = m_radio;
    s.held = held();
    return s;
}

RelaySetting FormPanel::stored(const Slots::Selection &slot) const
{
    SettingsFile &file = m_form.m_file;
    const int base = ConfLayout::baseOf(slot);
    return {static_cast<quint8>(file.Read(base + ConfLayout::CodeCAt, 1)),
            static_cast<quint8>(file.Read(base + ConfLayout::CodeLAt, 1)),
            static_cast<quint8>(file.Read(base + ConfLayout::SideAt, 1))};
}

Panel::Outcome FormPanel::recall(const Slots::Selection &slot, Cause cause)
{
    if (held())
        return Outcome::Held;
    const ControllerLink::CauseScope scope(m_form.m_link, cause);
    // The program's own selection stays silent; then the recall runs as the operator's click
    // on the last option would make it run.
    m_form.m_module->SilentUpdate = 1;
    m_form.m_selectors[slot.antenna]->setChecked(true);
    m_form.m_selectors[Slots::Antennas + slot.band]->setChecked(true);
    m_form.m_selectors[Slots::Antennas + Slots::Bands + slot.subBand]->setChecked(true);
    m_form.Selector_MouseDown();
    m_form.Selector_Click();
    return Outcome::Done;
}

Panel::Outcome FormPanel::recallMemory(const Slots::Selection &slot, const RelaySetting &relays,
                                       const MemoryBin &bin, const QString &note, Cause cause)
{
    if (held())
        return Outcome::Held;
    using Bank = Form1::Bank;
    const ControllerLink::CauseScope scope(m_form.m_link, cause);
    // The options change silently, as a recall's do; then the memory's relays go out as the
    // slot's would: C, L and the side, the antenna's flag on each.
    ConsoleModule &module = *m_form.m_module;
    module.SilentUpdate = 1;
    m_form.m_selectors[slot.antenna]->setChecked(true);
    m_form.m_selectors[Slots::Antennas + slot.band]->setChecked(true);
    m_form.m_selectors[Slots::Antennas + Slots::Bands + slot.subBand]->setChecked(true);
    module.SlotBase = module.SelectedSlotBase();
    module.Ant3Flag = slot.antenna == Slots::Antennas - 1 ? 1 : 0;
    m_form.m_link.noteRecall(note);
    m_form.setCode(Bank::C, relays.codeC);
    m_form.fill(Bank::C);
    m_form.setCode(Bank::L, relays.codeL);
    m_form.fill(Bank::L);
    (relays.side == 1 ? m_form.ui->Opt1 : m_form.ui->Opt2)->setChecked(true);
    m_form.send(Bank::C, relays.codeC);
    m_form.send(Bank::L, relays.codeL);
    m_form.m_link.SendNetworkSide(relays.side, module.Ant3Flag);
    m_memory = Recalled{slot, relays, bin, note};
    touch();
    return Outcome::Done;
}

bool FormPanel::refreshMemory()
{
    if (!state().memory)
        return false;
    const Recalled shown = *m_memory;
    recallMemory(shown.selection, shown.relays, shown.bin, shown.note, Cause::Refresh);
    return true;
}

Panel::Outcome FormPanel::enterCode(Bank bank, quint8 code, Cause cause)
{
    if (held())
        return Outcome::Held;
    const ControllerLink::CauseScope scope(m_form.m_link, cause);
    const Form1::Bank which = bank == Bank::C ? Form1::Bank::C : Form1::Bank::L;
    m_form.parts(which).controls.entry->setText(QString::number(code));
    bank == Bank::C ? m_form.cmdCEnter_Click() : m_form.cmdLEnter_Click();
    return Outcome::Done;
}

Panel::Outcome FormPanel::toggleBit(Bank bank, int bit, Cause cause)
{
    if (held())
        return Outcome::Held;
    const ControllerLink::CauseScope scope(m_form.m_link, cause);
    const Form1::Bank which = bank == Bank::C ? Form1::Bank::C : Form1::Bank::L;
    m_form.tgl_MouseDown();
    m_form.parts(which).controls.toggles[bit]->toggle();
    return Outcome::Done;
}

Panel::Outcome FormPanel::chooseSide(quint8 side, Cause cause)
{
    if (held())
        return Outcome::Held;
    const ControllerLink::CauseScope scope(m_form.m_link, cause);
    QAbstractButton *option = side == 1 ? m_form.ui->Opt1 : m_form.ui->Opt2;
    side == 1 ? m_form.Opt1_MouseDown() : m_form.Opt2_MouseDown();
    // A click on the side already chosen sends it again, as the operator's click does.
    if (option->isChecked())
        side == 1 ? m_form.Opt1_Click() : m_form.Opt2_Click();
    else
        option->setChecked(true);
    return Outcome::Done;
}

Panel::Outcome FormPanel::store(Cause cause)
{
    m_form.cmdSave1_Click();
    sayStored();
    touch();
    if (!m_form.m_file.errorString().isEmpty())
        return Outcome::Failed;
    emit slotStored(cause);
    return Outcome::Done;
}

void FormPanel::sayStored()
{
    if (!m_form.m_file.errorString().isEmpty())
        return; // the window has said why
    const Slots::Selection s = ConfLayout::selectionOf(m_form.m_module->SlotBase);
    say(tr("Сохранено: %1").arg(BandNames::slotText(s.antenna, s.band, s.subBand)));
}

void FormPanel::setRelays(const RelaySetting &setting, bool sendAll)
{
    using Bank = Form1::Bank;
    const RelaySetting before = state().relays;
    m_form.m_module->SilentUpdate = 1;
    if (sendAll || setting.codeC != before.codeC) {
        m_form.setCode(Bank::C, setting.codeC);
        m_form.fill(Bank::C);
        m_form.send(Bank::C, setting.codeC);
    }
    if (sendAll || setting.codeL != before.codeL) {
        m_form.setCode(Bank::L, setting.codeL);
        m_form.fill(Bank::L);
        m_form.send(Bank::L, setting.codeL);
    }
    if (sendAll || setting.side != before.side) {
        (setting.side == 1 ? m_form.ui->Opt1 : m_form.ui->Opt2)->setChecked(true);
        m_form.m_link.SendNetworkSide(setting.side, m_form.m_module->Ant3Flag);
    }
}

void FormPanel::askSteps()
{
    m_form.cmdOptions_Click();
    touch();
}

QString FormPanel::settingsPath() const
{
    return m_form.m_file.path();
}

bool FormPanel::settingsReplaced()
{
    if (!m_form.m_file.reopen())
        return false;
    m_form.readSteps();
    const ControllerLink::CauseScope scope(m_form.m_link, Cause::Import);
    m_form.m_module->SilentUpdate = 1;
    m_form.m_module->RecallSelectedSlot();
    return true;
}

void FormPanel::setPorts(const PortMap &ports)
{
    const QString before = m_form.m_comPort1.target();
    m_form.m_env.ports = ports;
    m_form.m_comPort1.setPorts(ports);
    for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n)
        m_form.ui->cmb1->setItemData(n - 1, ports.device(n), Qt::ToolTipRole);
    if (m_form.ui->cmb1->currentIndex() >= 0 && m_form.m_comPort1.target() != before)
        m_form.cmb1_Click();
}

const PortMap &FormPanel::ports() const
{
    return m_form.m_comPort1.ports();
}

LineLog &FormPanel::lineLog()
{
    return m_form.m_link.log();
}

void FormPanel::setRadio(const Radio &radio)
{
    if (radio == m_radio)
        return;
    m_radio = radio;
    touch();
    redeliver();
}

void FormPanel::redeliver()
{
    const ControllerLink &link = m_form.m_link;
    if (!m_redeliver || held())
        return;
    m_redeliver = false;
    // The operator's own dropped packets stay dropped, as they always were: Refresh is theirs.
    if (link.delivered() || link.droppedCause() == Cause::Operator)
        return;
    const ControllerLink::CauseScope scope(m_form.m_link, link.droppedCause());
    setRelays(state().relays, true);
}

void FormPanel::refuseWhileHeld()
{
    say(tr("Передача: реле не переключаются"), Tone::Warning);
}
