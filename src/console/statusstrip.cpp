#include "statusstrip.h"

#include "widgets/consolefont.h"

#include <QAccessible>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The alert's link that says the operator has seen it.
constexpr const char *SeenLink = "seen";

} // namespace

namespace {

// A number and its unit stay on one line: "40 м", "7.074 МГц" never break in the middle.
QString keepTogether(QString text)
{
    static const QStringList units{
        QStringLiteral("м"),   QStringLiteral("m"),   QStringLiteral("МГц"), QStringLiteral("MHz"),
        QStringLiteral("кГц"), QStringLiteral("kHz"), QStringLiteral("pF"),  QStringLiteral("uH")};
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        if (text[i] != u' ' || !text[i - 1].isDigit())
            continue;
        for (const QString &unit : units) {
            const qsizetype end = i + 1 + unit.size();
            if (QStringView(text).mid(i + 1).startsWith(unit) &&
                (end == text.size() || !text[end].isLetterOrNumber()))
                text[i] = QChar::Nbsp;
        }
    }
    return text;
}

} // namespace

StatusStrip::StatusStrip(QWidget *area)
    : QWidget(area)
    , m_menu(new QToolButton(this))
    , m_tx(new QLabel(this))
    , m_radio(new QLabel(this))
    , m_message(new QLabel(this))
    , m_undelivered(new QLabel(this))
{
    // A right press anywhere here opens the menu, as on the window's other free areas.
    setProperty("orvaneFreeArea", true);
    m_menu->setObjectName(QStringLiteral("menuButton"));
    // The menu's three lines are drawn, not set as "☰": the window's font has no such glyph,
    // and a font found for one character costs more memory than the console's own window.
    QPixmap lines(14, 12);
    lines.fill(Qt::transparent);
    {
        QPainter painter(&lines);
        for (const int y : {1, 5, 9})
            painter.fillRect(0, y, 14, 2, palette().color(QPalette::ButtonText));
    }
    m_menu->setIcon(QIcon(lines));
    m_menu->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_menu->setAutoRaise(true);
    m_menu->setFixedSize(24, 22);
    m_menu->setFocusPolicy(Qt::TabFocus);
    m_menu->setToolTip(tr("Меню (правая кнопка мыши на свободном месте окна, клавиша меню)"));
    m_tx->setObjectName(QStringLiteral("transmitting"));
    m_tx->setText(QStringLiteral("TX"));
    m_tx->setAlignment(Qt::AlignCenter);
    m_tx->setStyleSheet(QStringLiteral("color: white; background: #c00000; font-weight: bold"));
    m_tx->setFixedSize(24, 18);
    m_tx->hide();
    m_radio->setObjectName(QStringLiteral("rigStatus"));
    m_message->setObjectName(QStringLiteral("statusMessage"));
    for (QLabel *label : {m_radio, m_message}) {
        label->setFont(consoleFont(9));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->setWordWrap(true);
    }
    m_radio->hide();
    m_undelivered->setObjectName(QStringLiteral("undelivered"));
    m_undelivered->setFont(consoleFont(9));
    m_undelivered->setText(tr("не доставлено, Refresh"));
    m_undelivered->setToolTip(tr("Контроллер мог не получить показанные реле: порт не был "
                                 "открыт или линия не принимала данные. Refresh отправит их."));
    m_undelivered->setStyleSheet(QStringLiteral("color: #c00000"));
    m_undelivered->hide();
    m_message->setTextFormat(Qt::RichText);
    connect(m_message, &QLabel::linkActivated, this, [this](const QString &link) {
        if (link == QLatin1String(SeenLink)) {
            m_alert.clear();
            showLine();
            return;
        }
        emit hintActivated(link);
    });
    m_message->setAccessibleName(tr("Сообщение"));
    m_pace.setSingleShot(true);
    m_pace.setInterval(AnnounceMs);
    connect(&m_pace, &QTimer::timeout, this, [this] {
        if (std::exchange(m_announcePending, false))
            announce();
    });
    m_expiry.setSingleShot(true);
    connect(&m_expiry, &QTimer::timeout, this, &StatusStrip::showLine);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The words keep a little distance from the button and the TX badge.
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(2);
    layout->addWidget(m_menu, 0, 0, Qt::AlignTop);
    layout->addWidget(m_tx, 1, 0, Qt::AlignTop);
    // The words take the rest, two or three short lines; while a message is fresh it has
    // them to itself.
    auto *words = new QVBoxLayout;
    words->setSpacing(0);
    words->addWidget(m_radio);
    words->addWidget(m_undelivered);
    words->addWidget(m_message);
    words->addStretch();
    layout->addLayout(words, 0, 1, 2, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    auto *fill = new QGridLayout(area);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(this);
    showLine();
}

void StatusStrip::say(const QString &text, bool warning)
{
    m_message->setText(keepTogether(text).toHtmlEscaped());
    m_message->setToolTip(text);
    m_message->setAccessibleName(text);
    m_message->setStyleSheet(warning ? QStringLiteral("color: #c00000") : QString());
    m_message->show();
    m_radio->hide();
    m_expiry.start(MessageMs);
    if (m_pace.isActive()) {
        m_announcePending = true;
        return;
    }
    announce();
}

void StatusStrip::announce()
{
    QAccessibleEvent named(m_message, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent alert(m_message, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    m_pace.start();
}

void StatusStrip::setHint(const QString &html)
{
    m_hint = html;
    if (!m_expiry.isActive())
        showLine();
}

void StatusStrip::alert(const QString &text)
{
    m_alert = text;
    if (!m_expiry.isActive())
        showLine();
}

void StatusStrip::showLine()
{
    // After a message: an alert not yet seen, else the standing hint, else nothing.
    if (!m_alert.isEmpty()) {
        m_message->setStyleSheet(QStringLiteral("color: #c00000"));
        m_message->setText(
            keepTogether(m_alert).toHtmlEscaped() +
            QStringLiteral(" <a href=\"%1\">%2</a>").arg(QLatin1String(SeenLink), tr("понятно")));
        m_message->setToolTip(m_alert);
        m_message->setAccessibleName(m_alert);
        m_message->show();
        m_radio->hide();
        return;
    }
    m_message->setStyleSheet(QString());
    m_message->setText(m_hint);
    m_message->setToolTip(QString());
    m_message->setVisible(!m_hint.isEmpty());
    m_radio->setVisible(!m_radio->text().isEmpty());
}

void StatusStrip::setRadio(const QString &text)
{
    m_radio->setText(keepTogether(text));
    m_radio->setToolTip(text);
    m_radio->setVisible(!text.isEmpty() && !m_expiry.isActive() && m_alert.isEmpty());
}

void StatusStrip::setTransmitting(bool on)
{
    m_tx->setVisible(on);
}

void StatusStrip::setUndelivered(bool on)
{
    if (on == m_undelivered->isVisible())
        return;
    m_undelivered->setVisible(on);
    if (on) {
        QAccessibleEvent named(m_undelivered, QAccessible::Alert);
        QAccessible::updateAccessibility(&named);
    }
}
