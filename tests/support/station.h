#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

// A headless virtual controller on a pseudo-terminal behind a link, logging every packet to a
// file; with --rigctld it also plays the station's radio.
class SimProcess
{
public:
    ~SimProcess();

    bool start(const QStringList &arguments = {});
    QString link() const { return m_temp.filePath(QStringLiteral("tuner")); }
    QString logPath() const { return m_temp.filePath(QStringLiteral("log.jsonl")); }
    // What came on the line: packets and rejected bytes, not the radio's commands.
    QList<QJsonObject> log() const;
    // The relays after the last packet.
    QJsonObject relays() const;

    QProcess process;

private:
    QTemporaryDir m_temp;
};

// The virtual controller playing the station's radio too, a resonant antenna on its output
// (--antenna 7.1,50,10 unless told otherwise), the relay steps 10 pF and 500 nH.
class RadioStation : public SimProcess
{
public:
    quint16 radioPort = 0;
    // extra: more of the virtual controller's options (--min-power 0.2 …).
    bool start(const QString &antenna = QStringLiteral("7.1,50,10"), const QStringList &extra = {});
    // One command as another program would send it; true on RPRT 0.
    bool tell(const QByteArray &command) const;
    // A get's first answer line ("7150000" for "f").
    QByteArray ask(const QByteArray &command) const;
    // The radio's commands in the log, in order: "F 7073500", "T 1", …
    QStringList commands() const;
};

// A port on loopback that nothing listens on just now.
quint16 freeLocalPort();

// One command to a rigctld on loopback, as another program at the station would send it;
// true when it answered RPRT 0.
bool tellRig(quint16 port, const QByteArray &command);

// A real rigctld with Hamlib's dummy rig on loopback, its transmit state readable (-P RIG).
struct Rigctld
{
    QProcess process;
    quint16 port = 0;
    // reportsPtt: false plays a radio that cannot say whether it transmits.
    bool start(bool reportsPtt = true);
    void stop();
    // One command, as another program at the station would send it; true on RPRT 0.
    bool tell(const QByteArray &command) { return tellRig(port, command); }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    ~Rigctld() { stop(); }
};
