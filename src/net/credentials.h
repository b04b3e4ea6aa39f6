#pragma once

#include <QByteArray>
#include <QString>

class QSettings;

// A password kept as a salted, slow hash (PBKDF2 with SHA-256), never as itself: what the
// settings hold cannot be turned back into the password, and trying guesses against it costs.
class Credentials
{
public:
    static constexpr int Rounds = 200000;
    // A password that opens a door beyond this computer has at least this many characters.
    static constexpr int MinLength = 8;

    // "pbkdf2-sha256$ROUNDS$SALT$HASH", salt and hash in base64.
    static QString hash(const QString &password);
    // True when the password is the one the record was made from; the comparison takes the
    // same time wherever the first difference lies.
    static bool matches(const QString &password, const QString &record);

    // A password typed at the terminal without being shown, or a line of standard input when
    // that is no terminal.
    static QString readSecret(const char *prompt);

    // The records kept in the user's settings under key.
    static QString stored(QSettings &settings, const QString &key);
    static void store(QSettings &settings, const QString &key, const QString &password);
    // Makes the file readable by its owner alone, creating it empty when it is not there.
    static void keepPrivate(const QString &path);
    // A secret another service must be shown as it is (a broker's password): kept in a file
    // of its own that only the user reads; empty removes it.
    static bool keepSecret(const QString &path, const QString &secret);
    static QString secretIn(const QString &path);
};
