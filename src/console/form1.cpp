#include "form1.h"
#include "ui_form1.h"

#include "about/frmabout.h"
#include "app/dialogs.h"
#include "features.h"
#include "formpanel.h"
#include "model/valuetext.h"
#include "settings/conflayout.h"
#include "widgets/barsurface.h"
#include "widgets/consolefont.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QSet>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const char *const Title = "Orvane";
const char *const LineSettingsText = "9600,n,8,1";
const char *const PortErrorTip = QT_TRANSLATE_NOOP("Form1", "Ошибка открытия Com-порта");
const char *const HotEndPicture = "img/HotEnd.jpg";
const char *const ColdEndPicture = "img/ColdEnd.jpg";
constexpr int RefreshWaitMs = 500;
constexpr int MaxStepC = 128;
constexpr int MaxStepL = 999;

int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

template<std::size_t N>
int indexIn(const std::array<QAbstractButton *, N> &buttons, const QObject *object)
{
    const auto it = std::find(buttons.begin(), buttons.end(), object);
    return it == buttons.end() ? -1 : static_cast<int>(it - buttons.begin());
}

} // namespace

Form1::Form1(const ConsoleEnvironment &environment, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::Form1)
    , m_env(environment)
    , m_comPort1(environment.ports)
    , m_link(m_comPort1)
{
    ui->setupUi(this);
    setFixedSize(size());
    m_comPort1.setVirtualProgram(m_env.virtualProgram);
    applyFonts();
    m_surface = new BarSurface(this);

    m_bankC = {
        {{ui->tglC0, ui->tglC1, ui->tglC2, ui->tglC3, ui->tglC4, ui->tglC5, ui->tglC6, ui->tglC7},
         ui->txtCEnter},
        ui->lbl1,
        &m_barC,
        nullptr};
    m_bankL = {
        {{ui->tglL0, ui->tglL1, ui->tglL2, ui->tglL3, ui->tglL4, ui->tglL5, ui->tglL6, ui->tglL7},
         ui->txtLEnter},
        ui->lbl2,
        &m_barL,
        nullptr};
    const SelectorControls selectors{{ui->OptAnt1, ui->OptAnt2, ui->OptAnt3},
                                     {ui->Opt160, ui->Opt80, ui->Opt40, ui->Opt30, ui->Opt20,
                                      ui->Opt17, ui->Opt15, ui->Opt12, ui->Opt10, ui->Opt6},
                                     {ui->OptSB1, ui->OptSB2, ui->OptSB3, ui->OptSB4, ui->OptSB5},
                                     ui->Opt1,
                                     ui->Opt2};
    std::copy(selectors.antenna.begin(), selectors.antenna.end(), m_selectors.begin());
    std::copy(selectors.band.begin(), selectors.band.end(), m_selectors.begin() + Slots::Antennas);
    std::copy(selectors.subBand.begin(), selectors.subBand.end(),
              m_selectors.begin() + Slots::Antennas + Slots::Bands);

    m_module = std::make_unique<ConsoleModule>(m_bankC.controls, m_bankL.controls, selectors,
                                               m_file, m_link, static_cast<BankDisplay &>(*this));
    m_bankC.dragCode = &m_module->DragCodeC;
    m_bankL.dragCode = &m_module->DragCodeL;

    // A neutral picture until the first network side is shown.
    QPixmap neutral(ui->Img1->size());
    neutral.fill(palette().color(QPalette::Window));
    ui->Img1->setPixmap(neutral);

    connectHandlers();
    Form_Load();
    if (m_loaded) {
        m_panel = new FormPanel(*this);
        m_features = new ConsoleFeatures(*m_panel, m_env, ui->statusArea, this);
    }
}

Panel &Form1::panel()
{
    return *m_panel;
}

Form1::~Form1()
{
    // The additions go first, while the panel, the port and the file they use are still
    // there: a search under way puts the relays back on its way out.
    delete std::exchange(m_features, nullptr);
    // The panel filters the bars' events, which QWidget's own teardown still sends.
    delete std::exchange(m_panel, nullptr);
    Form_Unload();
    delete ui;
}

void Form1::applyFonts()
{
    // Qt Designer stores whole point sizes only, so the fonts are set here.
    setFont(consoleFont(13.5));
    ui->cmdRefresh->setFont(consoleFont(9.75, true));
    ui->cmdOptions->setFont(consoleFont(24));
    ui->Command1->setFont(consoleFont(12));
}

void Form1::connectHandlers()
{
    for (int n = 0; n < 8; ++n) {
        for (Bank bank : {Bank::C, Bank::L}) {
            QAbstractButton *toggle = parts(bank).controls.toggles[n];
            // toggled, not clicked: a change made by the program must raise the handler too.
            connect(toggle, &QAbstractButton::toggled, this,
                    [this, bank, n] { bank == Bank::C ? tglC_Click(n) : tglL_Click(n); });
            toggle->installEventFilter(this);
        }
    }
    connect(ui->cmdDecrementC, &QPushButton::clicked, this, &Form1::cmdDecrementC_Click);
    connect(ui->cmdIncrementC, &QPushButton::clicked, this, &Form1::cmdIncrementC_Click);
    connect(ui->cmdDecrementL, &QPushButton::clicked, this, &Form1::cmdDecrementL_Click);
    connect(ui->cmdIncrementL, &QPushButton::clicked, this, &Form1::cmdIncrementL_Click);
    connect(ui->cmdCEnter, &QPushButton::clicked, this, &Form1::cmdCEnter_Click);
    connect(ui->cmdLEnter, &QPushButton::clicked, this, &Form1::cmdLEnter_Click);

    for (QAbstractButton *option : m_selectors)
        watchOption(option, &Form1::Selector_Click);
    watchOption(ui->Opt1, &Form1::Opt1_Click);
    watchOption(ui->Opt2, &Form1::Opt2_Click);

    ui->lbl1->installEventFilter(this);
    ui->lbl2->installEventFilter(this);

    connect(ui->cmb1, &QComboBox::currentIndexChanged, this, &Form1::cmb1_Click);
    connect(ui->cmdSave1, &QPushButton::clicked, this, &Form1::cmdSave1_Click);
    connect(ui->cmdRefresh, &QPushButton::clicked, this, &Form1::cmdRefresh_Click);
    connect(ui->cmdOptions, &QPushButton::clicked, this, &Form1::cmdOptions_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    // Refresh is the window's cancel button. It is not the default button: Enter in an entry
    // box must never resend a slot over what the operator typed.
    auto *cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancel, &QShortcut::activated, this, [this] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        if (!holdsStill(&key))
            ui->cmdRefresh->click();
    });
    for (QWidget *button : {ui->cmdDecrementC, ui->cmdIncrementC, ui->cmdDecrementL,
                            ui->cmdIncrementL, ui->cmdCEnter, ui->cmdLEnter, ui->cmdRefresh})
        button->installEventFilter(this);
    m_refreshWait.setSingleShot(true);
    m_refreshWait.setTimerType(Qt::PreciseTimer);
    connect(&m_refreshWait, &QTimer::timeout, this, &Form1::finishRefresh);
    m_comPort1.onOpened = [this](bool opened) {
        if (const auto next = std::exchange(m_afterOpen, {}))
            next(opened);
    };

    connect(&m_link, &ControllerLink::lineFailed, this,
            [this] { showPortStatus(true, true, m_comPort1.problemText()); });
}

void Form1::watchOption(QAbstractButton *option, void (Form1::*click)())
{
    // An option's Click runs when it becomes selected, by the operator or by the program;
    // the option it replaces gets none.
    connect(option, &QAbstractButton::toggled, this, [this, click](bool on) {
        if (on)
            (this->*click)();
    });
    connect(option, &QAbstractButton::clicked, this, [this, option, click] {
        if (m_pressedOption == option && m_pressedOptionWasChecked) {
            m_pressedOption = nullptr;
            (this->*click)();
        }
    });
    option->installEventFilter(this);
}

// Start-up --------------------------------------------------------------------------------

void Form1::Form_Load()
{
    m_module->SilentUpdate = 1;
    configureBar(m_barC, ui->lbl1, 0, 20000, 0, 32767);
    configureBar(m_barL, ui->lbl2, 20000, 0, 32767, 0);
    {
        // Filling the list must not count as a port selection.
        const QSignalBlocker blocker(ui->cmb1);
        for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n) {
            ui->cmb1->addItem(QString::number(n));
            ui->cmb1->setItemData(n - 1, m_env.ports.device(n), Qt::ToolTipRole);
        }
        ui->cmb1->setCurrentIndex(-1);
    }
    ui->OptAnt1->setChecked(true);
    m_module->Ant3Flag = 0;

    if (!openSettingsFile())
        return;
    const int portNumber = m_env.portFor(m_file.Read(ConfLayout::PortNumber, 1));
    readSteps();
    // A step no Options answer can produce means a damaged file: ask for both again. The
    // inductance step of a new file, 0, is taken as it is.
    if (m_module->StepC > MaxStepC || m_module->StepL < 0 || m_module->StepL > MaxStepL)
        cmdOptions_Click();

    int base = m_file.Read(ConfLayout::LastSavedBase, 2);
    // A base the console never writes means a damaged file; the first slot is a safe start.
    if (!ConfLayout::isStoredBase(base))
        base = 0;
    {
        const ControllerLink::CauseScope cause(m_link, LineLog::Cause::Start);
        m_module->RecallSlot(static_cast<qint16>(base));
    }

    m_loaded = true;
    // The box's own text is the console's; under it, why and what to do.
    const auto unavailable = [this, portNumber] {
        m_env.dialogs->message(
            this, QString::fromLatin1(Title), tr("Com-порт %1 не доступен").arg(portNumber),
            PortMap::isPortNumber(portNumber) ? m_comPort1.problemText()
            : portNumber == 0
                ? tr("порт не выбран: выберите его в списке Comport")
                : tr("порта %1 нет среди 1–16: выберите его в списке Comport").arg(portNumber));
    };
    if (!(m_comPort1.setCommPort(portNumber) &&
          m_comPort1.setSettings(QString::fromLatin1(LineSettingsText)) &&
          m_comPort1.setPortOpen(true)))
        return unavailable();
    const auto select = [this, portNumber] {
        ui->cmb1->setCurrentIndex(portNumber - 1);
    };
    if (!m_comPort1.opening())
        return select();
    // A controller on the network answers later; its outcome ends the start-up as an open
    // or a failed serial port would have.
    m_afterOpen = [select, unavailable](bool opened) {
        opened ? select() : unavailable();
    };
}

void Form1::readSteps()
{
    m_module->StepC = static_cast<quint8>(m_file.Read(ConfLayout::StepC, 1));
    m_module->StepL = static_cast<qint16>(m_file.Read(ConfLayout::StepL, 2));
}

bool Form1::openSettingsFile()
{
    if (m_file.openIn(m_env.programDir, m_env.dataDir))
        return true;
    m_env.dialogs->message(this, QString::fromLatin1(Title),
                           tr("Не удалось открыть файл настроек:\n%1").arg(m_file.errorString()));
    return false;
}

void Form1::configureBar(ProgressBar &bar, const QLabel *label, qint16 green1, qint16 blue1,
                         qint16 green2, qint16 blue2)
{
    bar.Red1 = 0;
    bar.Green1 = green1;
    bar.Blue1 = blue1;
    bar.Red2 = 0;
    bar.Green2 = green2;
    bar.Blue2 = blue2;
    bar.H_V = 0;
    bar.frm = m_surface;
    bar.Alfa1 = 0;
    bar.Alfa2 = 0;
    bar.txtX1 = label->x();
    bar.txtY1 = label->y();
    bar.txtX2 = label->x() + label->width();
    bar.txtY2 = label->y() + label->height();
    bar.Aligment = 1;
    bar.SetRectangle();
}

void Form1::Form_Activate()
{
    FillC();
    FillL();
}

void Form1::Form_Unload()
{
    if (m_unloadedFlag)
        return;
    m_unloadedFlag = true;
    m_file.close();
    m_comPort1.setPortOpen(false);
    emit unloaded();
}

bool Form1::event(QEvent *event)
{
    // Only the first display and the return from the About box redraw from the toggles:
    // coming back from another program or a message must not wipe a code typed but not
    // yet entered.
    if (event->type() == QEvent::WindowActivate && m_activatePending) {
        m_activatePending = false;
        Form_Activate();
    }
    return QWidget::event(event);
}

bool Form1::isFreeArea(const QPoint &pos) const
{
    const QWidget *under = childAt(pos);
    for (const QWidget *w = under; w && w != this; w = w->parentWidget()) {
        if (w->property("orvaneFreeArea").toBool())
            return true;
    }
    return !under || qobject_cast<const QGroupBox *>(under) ||
           under->objectName().startsWith(QLatin1String("Line"));
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    // A right press on a control keeps its own meaning; the menu key works anywhere.
    if (!m_features || (event->reason() == QContextMenuEvent::Mouse && !isFreeArea(event->pos())))
        return;
    m_features->contextMenu()->exec(event->globalPos());
}

void Form1::showEvent(QShowEvent *)
{
    if (m_pendingPicture)
        QTimer::singleShot(0, this, [this] {
            if (m_pendingPicture)
                showPicture(m_pendingPicture);
        });
}

void Form1::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

// Relay codes and their display ------------------------------------------------------------

quint8 Form1::getCode(Bank bank)
{
    return bank == Bank::C ? m_module->GetC() : m_module->GetL();
}

void Form1::setCode(Bank bank, quint8 code)
{
    bank == Bank::C ? m_module->SetC(code) : m_module->SetL(code);
}

void Form1::fill(Bank bank)
{
    const BankParts &p = parts(bank);
    const quint8 code = getCode(bank);
    paintLevel(bank, barRight(p.label->x(), p.label->width(), code));
    p.bar->Str = valueText(bank, code);
    p.bar->DrwTxt();
}

void Form1::send(Bank bank, quint8 code)
{
    bank == Bank::C ? m_link.SendC(code, m_module->Ant3Flag)
                    : m_link.SendL(code, m_module->Ant3Flag);
}

QString Form1::valueText(Bank bank, int code) const
{
    return bank == Bank::C ? capacitanceText(m_module->StepC, code)
                           : inductanceText(m_module->StepL, code);
}

void Form1::FillC()
{
    fill(Bank::C);
}

void Form1::FillL()
{
    fill(Bank::L);
}

void Form1::paintLevel(Bank bank, int right)
{
    const BankParts &p = parts(bank);
    const QRect label = p.label->geometry();
    p.bar->X1 = label.left();
    p.bar->Y1 = label.top() + 2;
    p.bar->X2 = right;
    p.bar->Y2 = label.top() + label.height() - 1;
    p.bar->frm = m_surface;
    // Erase the old fill before painting the new one.
    m_surface->clear(label);
    p.bar->Fill();
}

// Relay toggles, step buttons, entry boxes -------------------------------------------------

void Form1::tglC_Click(int Index)
{
    toggleClick(Bank::C, Index);
}

void Form1::tglL_Click(int Index)
{
    toggleClick(Bank::L, Index);
}

void Form1::toggleClick(Bank bank, int index)
{
    if (m_module->SilentUpdate == 1)
        return;
    QAbstractButton *toggle = parts(bank).controls.toggles[index];
    toggle->setText(toggle->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    // The packet before the bar's picture: the controller does not wait for what only the
    // eye needs, and the eye sees both in the same frame.
    send(bank, getCode(bank));
    fill(bank);
}

void Form1::tgl_MouseDown()
{
    m_module->SilentUpdate = 0;
}

void Form1::cmdDecrementC_Click()
{
    stepCode(Bank::C, -1);
}

void Form1::cmdIncrementC_Click()
{
    stepCode(Bank::C, +1);
}

void Form1::cmdDecrementL_Click()
{
    stepCode(Bank::L, -1);
}

void Form1::cmdIncrementL_Click()
{
    stepCode(Bank::L, +1);
}

void Form1::stepCode(Bank bank, int delta)
{
    m_module->SilentUpdate = 1;
    // Saturates: at either end the unchanged code is sent again.
    const auto code = static_cast<quint8>(std::clamp(getCode(bank) + delta, 0, 255));
    setCode(bank, code);
    send(bank, code);
    fill(bank);
    parts(bank).controls.entry->setText(QString::number(code));
}

void Form1::cmdCEnter_Click()
{
    applyEntry(Bank::C);
}

void Form1::cmdLEnter_Click()
{
    applyEntry(Bank::L);
}

void Form1::applyEntry(Bank bank)
{
    m_module->SilentUpdate = 1;
    const BankParts &p = parts(bank);
    // Text that is no code 0–255 changes nothing, and the current code goes out again.
    if (const auto typed = toWholeNumber(p.controls.entry->text(), 0, 255)) {
        setCode(bank, static_cast<quint8>(*typed));
        *p.dragCode = static_cast<qint16>(*typed);
    }
    // The bar's caption is the one fill() draws from the toggles, so it always agrees with
    // the relays.
    fill(bank);
    send(bank, getCode(bank));
}

// Selectors ----------------------------------------------------------------------------------

void Form1::Selector_MouseDown()
{
    m_module->SilentUpdate = 0;
}

void Form1::Selector_Click()
{
    if (m_module->SilentUpdate == 1)
        return;
    m_module->SilentUpdate = 1;
    m_module->RecallSelectedSlot();
}

void Form1::OptSB_KeyPress(int Index)
{
    Q_UNUSED(Index);
    m_module->SilentUpdate = 0;
    Selector_Click();
}

// Network side -------------------------------------------------------------------------------

void Form1::Opt1_MouseDown()
{
    m_module->SilentUpdate = 0;
}

void Form1::Opt2_MouseDown()
{
    m_module->SilentUpdate = 0;
}

void Form1::Opt1_Click()
{
    networkSideClick(ui->Opt1, HotEndPicture, ColdEndPicture, 1);
}

void Form1::Opt2_Click()
{
    networkSideClick(ui->Opt2, ColdEndPicture, HotEndPicture, 0);
}

void Form1::networkSideClick(QAbstractButton *option, const char *picture, const char *otherPicture,
                             quint8 value)
{
    if (m_module->SilentUpdate == 1) {
        showPicture(picture);
        return;
    }
    if (!option->isChecked()) {
        showPicture(otherPicture);
        return;
    }
    // The picture first, then the packet.
    showPicture(picture);
    m_link.SendNetworkSide(value, m_module->Ant3Flag);
}

void Form1::showPicture(const char *picture)
{
    // Before the window is up, the picture waits for it: reading a JPEG for the first time
    // loads its decoder, which would keep the window from the screen that much longer.
    if (!isVisible()) {
        m_pendingPicture = picture;
        return;
    }
    m_pendingPicture = nullptr;
    // Read from disk every time; a missing or unreadable file keeps the picture shown.
    const QStringList folders =
        m_env.pictureFolders.isEmpty() ? QStringList{m_env.programDir} : m_env.pictureFolders;
    QPixmap pixmap;
    for (const QString &folder : folders) {
        if (pixmap.load(QDir(folder).filePath(QString::fromLatin1(picture)))) {
            ui->Img1->setPixmap(pixmap);
            return;
        }
    }
    // Said once a picture, for whoever looks at standard error.
    static QSet<QByteArray> told;
    if (!told.contains(picture)) {
        told.insert(picture);
        std::fprintf(stderr, "orvane: picture %s not found in %s\n", picture,
                     qPrintable(folders.join(QStringLiteral(", "))));
    }
}

// Drag-to-tune bars -------------------------------------------------------------------------

void Form1::lbl1_MouseDown(int Button, double X)
{
    lbl1_MouseMove(Button, X);
}

void Form1::lbl1_MouseMove(int Button, double X)
{
    barMove(Bank::C, Button, X);
}

void Form1::lbl1_MouseUp(int Button, double X)
{
    barUp(Bank::C, Button, X);
}

void Form1::lbl2_MouseDown(int Button, double X)
{
    lbl2_MouseMove(Button, X);
}

void Form1::lbl2_MouseMove(int Button, double X)
{
    barMove(Bank::L, Button, X);
}

void Form1::lbl2_MouseUp(int Button, double X)
{
    barUp(Bank::L, Button, X);
}

void Form1::barMove(Bank bank, int button, double x)
{
    const BankParts &p = parts(bank);
    const int width = p.label->width();
    const double offset = std::min(x, static_cast<double>(width));
    if (offset < 0 || button != 1)
        return;
    paintLevel(bank, roundHalfEven(p.label->x() + offset));
    *p.dragCode =
        static_cast<qint16>(std::floor(static_cast<double>(p.bar->X2 - p.bar->X1) / width * 255));
    p.bar->Str = valueText(bank, *p.dragCode);
    p.bar->DrwTxt();
}

void Form1::barUp(Bank bank, int button, double x)
{
    const BankParts &p = parts(bank);
    m_module->SilentUpdate = 1;
    setCode(bank, static_cast<quint8>(*p.dragCode));
    p.controls.entry->setText(QString::number(*p.dragCode));
    barMove(bank, button, x);
    send(bank, getCode(bank));
}

// Port ---------------------------------------------------------------------------------------

void Form1::showPortStatus(bool failed, bool withTooltip, const QString &why)
{
    QPalette palette = ui->Label3->palette();
    palette.setColor(QPalette::WindowText, failed ? QColor(255, 0, 0) : QColor(0, 0, 0));
    ui->Label3->setPalette(palette);
    if (!withTooltip)
        return;
    QString tip;
    if (failed) {
        tip = tr(PortErrorTip);
        if (!why.isEmpty())
            tip += QLatin1Char('\n') + why;
    }
    ui->Label3->setToolTip(tip);
    if (failed && m_comPort1.problem().kind == LineProblem::PermissionDenied &&
        !m_permissionAdviceGiven) {
        m_permissionAdviceGiven = true;
        m_env.dialogs->message(this, QString::fromLatin1(Title), why);
    }
}

void Form1::cmb1_Click()
{
    showPortStatus(false, true);
    const auto number = static_cast<quint8>(ui->cmb1->currentIndex() + 1);
    // The first failing step skips the rest; the number is stored only once the port opened.
    const bool opened = (!m_comPort1.PortOpen() || m_comPort1.setPortOpen(false)) &&
                        m_comPort1.setCommPort(number) && m_comPort1.setPortOpen(true);
    if (!opened) {
        showPortStatus(true, true, m_comPort1.problemText());
        return;
    }
    if (!m_comPort1.opening())
        return storePortNumber(number);
    m_afterOpen = [this, number](bool connected) {
        connected ? storePortNumber(number) : showPortStatus(true, true, m_comPort1.problemText());
    };
}

void Form1::storePortNumber(quint8 number)
{
    m_file.Write(ConfLayout::PortNumber, 1, number);
    if (!m_file.Sync())
        showPortStatus(true, true, m_file.errorString());
}

// Commands -----------------------------------------------------------------------------------

void Form1::cmdSave1_Click()
{
    m_module->SlotBase = m_module->SelectedSlotBase();
    if (!m_module->StoreSlot(m_module->SlotBase))
        reportFileFailure();
}

void Form1::reportFileFailure()
{
    m_env.dialogs->message(this, QString::fromLatin1(Title),
                           tr("Не удалось записать файл настроек %1:\n%2")
                               .arg(QDir::toNativeSeparators(m_file.path()), m_file.errorString()));
}

void Form1::cmdRefresh_Click()
{
    m_comPort1.setPortOpen(false);
    showPortStatus(true, false);
    ui->cmdRefresh->setEnabled(false);
    // The window works on meanwhile; closing it stops the timer, and nothing runs after.
    m_refreshWait.start(RefreshWaitMs);
}

void Form1::finishRefresh()
{
    if (m_unloadedFlag)
        return;
    // A port selected during the wait is already open.
    const bool reopened = m_comPort1.PortOpen() || m_comPort1.setPortOpen(true);
    {
        const ControllerLink::CauseScope cause(m_link, LineLog::Cause::Refresh);
        // What a frequency memory put on goes out again as shown; otherwise the slot.
        if (!m_panel || !m_panel->refreshMemory())
            m_module->RecallSelectedSlot();
    }
    const auto done = [this](bool opened) {
        showPortStatus(!opened, true, opened ? QString() : m_comPort1.problemText());
        ui->cmdRefresh->setEnabled(true);
    };
    if (reopened && m_comPort1.opening())
        m_afterOpen = done;
    else
        done(reopened);
}

void Form1::cmdOptions_Click()
{
    const QString stepC =
        m_env.dialogs->input(this, tr("Дискретность ёмкости"),
                             tr("Введите значение младшего\r\nразряда ёмкости в пФ.\r\n"
                                "Максимальное значение - 128"),
                             QStringLiteral("12"));
    if (const auto value = toWholeNumber(stepC, 0, 255))
        m_module->StepC = static_cast<quint8>(*value);

    const QString stepL =
        m_env.dialogs->input(this, tr("Дискретность индуктивности"),
                             tr("Введите значение младшего\r\nразряда индуктивности в нГн.\r\n"
                                "Максимальное значение - 999"),
                             QStringLiteral("50"));
    if (const auto value = toWholeNumber(stepL, -32768, 32767))
        m_module->StepL = static_cast<qint16>(*value);

    m_module->StepL = static_cast<qint16>(std::clamp<int>(m_module->StepL, 1, MaxStepL));
    if (m_module->StepC > MaxStepC)
        m_module->StepC = MaxStepC;

    m_file.Write(ConfLayout::StepC, 1, m_module->StepC);
    m_file.Write(ConfLayout::StepL, 2, m_module->StepL);
    if (!m_file.Sync())
        reportFileFailure();
}

void Form1::Command1_Click()
{
    frmAbout about(m_env.dialogs, this);
    if (m_file.inDataFolder())
        about.setSettingsNote(
            tr("Настройки хранятся в %1").arg(QDir::toNativeSeparators(m_file.path())));
    m_env.dialogs->exec(about);
    m_activatePending = true;
    if (isActiveWindow()) {
        m_activatePending = false;
        Form_Activate();
    }
}

// Events of the controls ---------------------------------------------------------------------

bool Form1::holdsStill(QEvent *event)
{
    if (!m_panel || !m_panel->held())
        return false;
    const QEvent::Type type = event->type();
    const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    if (!key && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return false;
    // Tab still moves the focus; only what would act is refused.
    if (key && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Tab ||
                static_cast<QKeyEvent *>(event)->key() == Qt::Key_Backtab))
        return false;
    if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress)
        m_panel->refuseWhileHeld();
    return true;
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (holdsStill(event))
        return true;
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool isToggle = indexIn(m_bankC.controls.toggles, watched) >= 0 ||
                          indexIn(m_bankL.controls.toggles, watched) >= 0;
    const int selector = indexIn(m_selectors, watched);
    const bool isOption = selector >= 0 || watched == ui->Opt1 || watched == ui->Opt2;

    // The second press of a double-click flips a toggle again, as a second click would, but
    // on an option it chooses nothing new: no second recall, no second side packet.
    if (type == QEvent::MouseButtonDblClick && isOption) {
        m_pressedOption = nullptr;
    } else if (press && (isToggle || isOption)) {
        if (!isToggle) {
            m_pressedOption = static_cast<QAbstractButton *>(watched);
            m_pressedOptionWasChecked = m_pressedOption->isChecked();
        }
        if (isToggle)
            tgl_MouseDown();
        else if (watched == ui->Opt1)
            Opt1_MouseDown();
        else if (watched == ui->Opt2)
            Opt2_MouseDown();
        else
            Selector_MouseDown();
    } else if (type == QEvent::KeyPress && isOption) {
        m_pressedOption = nullptr;
        const auto *key = static_cast<QKeyEvent *>(event);
        const int subBand = selector - Slots::Antennas - Slots::Bands;
        // Every key that types a character; Tab only moves the focus.
        if (subBand >= 0 && !key->text().isEmpty() && key->key() != Qt::Key_Tab &&
            key->key() != Qt::Key_Backtab)
            OptSB_KeyPress(subBand);
    } else if ((watched == ui->lbl1 || watched == ui->lbl2) &&
               (press || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
        const bool c = watched == ui->lbl1;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const double x = mouse->position().x();
        if (press) {
            const int button = buttonCode(mouse->button());
            c ? lbl1_MouseDown(button, x) : lbl2_MouseDown(button, x);
        } else if (type == QEvent::MouseMove) {
            const int buttons = buttonCode(mouse->buttons());
            c ? lbl1_MouseMove(buttons, x) : lbl2_MouseMove(buttons, x);
        } else {
            const int button = buttonCode(mouse->button());
            c ? lbl1_MouseUp(button, x) : lbl2_MouseUp(button, x);
        }
    }
    return QWidget::eventFilter(watched, event);
}
