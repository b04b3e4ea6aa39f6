#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QToolButton;

// The window's strip for what the additions have to say, in free space: the menu's button,
// the radio's state, the last thing the console did (for a few seconds), a standing hint,
// and a red TX while the radio transmits.
class StatusStrip : public QWidget
{
    Q_OBJECT
public:
    // How long a message stays.
    static constexpr int MessageMs = 6000;
    static constexpr int AnnounceMs = 300;

    explicit StatusStrip(QWidget *area);

    QToolButton *menuButton() const { return m_menu; }
    QLabel *radio() const { return m_radio; }
    QLabel *message() const { return m_message; }
    QLabel *transmitting() const { return m_tx; }
    QLabel *undelivered() const { return m_undelivered; }

    // Shown for a few seconds and said to a screen reader.
    void say(const QString &text, bool warning);
    // Shown, in red, whenever no fresher message is, until the operator follows its link
    // ("seen"); the newest stands for all before it.
    void alert(const QString &text);
    QString standingAlert() const { return m_alert; }
    // Empty: none. A link in it (<a href="…">) is reported by hintActivated.
    void setHint(const QString &html);
    void setRadio(const QString &text);
    void setTransmitting(bool on);
    // The controller may hold other relays than the window shows; said until it has them.
    void setUndelivered(bool on);

signals:
    void hintActivated(const QString &link);

private:
    void showLine();
    void announce();

    QToolButton *m_menu;
    QLabel *m_tx;
    QLabel *m_radio;
    QLabel *m_message;
    QLabel *m_undelivered;
    QTimer m_expiry;
    // Announcements come at most a few a second; the newest one waits for its turn.
    QTimer m_pace;
    bool m_announcePending = false;
    QString m_hint;
    QString m_alert;
};
