#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QWebSocket>

// A real Chromium, headless, driven over its DevTools protocol from the test's own event
// loop, so a console in the same process keeps answering while the page works.
class Browser
{
public:
    ~Browser();

    // flags: more of Chromium's switches (a certificate to trust, say).
    bool start(const QStringList &flags = {});
    QString error() const { return m_error; }

    // A DevTools command's result; empty with error() set when it failed or took too long.
    QJsonObject call(const QString &method, const QJsonObject &params = {}, int ms = 10000);
    // A JavaScript expression's value in the page.
    QJsonValue eval(const QString &expression);
    // Loads the address and waits for the page's load event.
    bool open(const QString &url);
    // A tap: the mouse pressed and released at the middle of the element the selector names,
    // where the operator's finger would land, after scrolling it into sight.
    bool tap(const QString &selector);
    // The page as the screen shows it, or the whole of it, as PNG.
    QByteArray screenshot(bool whole = false);
    // The viewport a phone or a desktop window gives the page.
    bool resize(int width, int height, bool mobile);

    // Every address the page asked for since start.
    QStringList requested() const { return m_requested; }

private:
    void received(const QString &message);

    QProcess m_process;
    QTemporaryDir m_profile;
    QWebSocket m_socket;
    int m_lastId = 0;
    QHash<int, QJsonObject> m_replies;
    QStringList m_requested;
    bool m_loaded = false;
    QString m_error;
};
