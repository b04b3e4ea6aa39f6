#include "browser.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace {

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(2);
    }
    return true;
}

} // namespace

Browser::~Browser()
{
    m_socket.abort();
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool Browser::start(const QStringList &flags)
{
    // Nothing of the browser's own goes out: no updates, no sync, no field trials, no QUIC.
    QStringList arguments{
        QStringLiteral("--headless"),
        QStringLiteral("--no-sandbox"), // the tests run as root
        QStringLiteral("--disable-gpu"),
        QStringLiteral("--no-first-run"),
        QStringLiteral("--no-default-browser-check"),
        QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-sync"),
        QStringLiteral("--disable-quic"),
        QStringLiteral("--disable-extensions"),
        QStringLiteral("--hide-scrollbars"),
        QStringLiteral("--lang=en-US"),
        QStringLiteral("--remote-debugging-port=0"),
        QStringLiteral("--user-data-dir=") + m_profile.path(),
    };
    arguments << flags << QStringLiteral("about:blank");
    m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    m_process.setStandardErrorFile(m_profile.filePath(QStringLiteral("stderr.log")));
    // Ends with the test even when the test is killed (a timeout).
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start(QStringLiteral("chromium"), arguments);
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("chromium did not start: ") + m_process.errorString();
        return false;
    }
    // Chromium names its DevTools port in the profile once it listens.
    QFile portFile(m_profile.filePath(QStringLiteral("DevToolsActivePort")));
    if (!waitFor([&] { return portFile.exists() && portFile.size() > 0; }, 30000) ||
        !portFile.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("chromium opened no DevTools port");
        return false;
    }
    const QByteArray port = portFile.readLine().trimmed();

    QNetworkAccessManager network;
    QJsonArray targets;
    waitFor(
        [&] {
            QNetworkReply *reply = network.get(QNetworkRequest(QUrl(
                QStringLiteral("http://127.0.0.1:%1/json/list").arg(QString::fromLatin1(port)))));
            waitFor([reply] { return reply->isFinished(); }, 5000);
            targets = QJsonDocument::fromJson(reply->readAll()).array();
            reply->deleteLater();
            return !targets.isEmpty();
        },
        10000);
    QString page;
    for (const QJsonValue &target : targets) {
        if (target[QStringLiteral("type")] == QLatin1String("page"))
            page = target[QStringLiteral("webSocketDebuggerUrl")].toString();
    }
    if (page.isEmpty()) {
        m_error = QStringLiteral("chromium shows no page");
        return false;
    }
    QObject::connect(&m_socket, &QWebSocket::textMessageReceived, &m_socket,
                     [this](const QString &message) { received(message); });
    m_socket.open(QUrl(page));
    if (!waitFor([this] { return m_socket.state() == QAbstractSocket::ConnectedState; }, 10000)) {
        m_error = QStringLiteral("DevTools did not answer: ") + m_socket.errorString();
        return false;
    }
    return !call(QStringLiteral("Page.enable")).isEmpty() &&
           !call(QStringLiteral("Network.enable")).isEmpty();
}

void Browser::received(const QString &message)
{
    const QJsonObject object = QJsonDocument::fromJson(message.toUtf8()).object();
    if (object.contains(QStringLiteral("id"))) {
        m_replies.insert(object[QStringLiteral("id")].toInt(), object);
        return;
    }
    const QString method = object[QStringLiteral("method")].toString();
    if (method == QLatin1String("Network.requestWillBeSent"))
        m_requested
            << object[QStringLiteral("params")][QStringLiteral("request")][QStringLiteral("url")]
                   .toString();
    else if (method == QLatin1String("Page.loadEventFired"))
        m_loaded = true;
}

QJsonObject Browser::call(const QString &method, const QJsonObject &params, int ms)
{
    const int id = ++m_lastId;
    m_socket.sendTextMessage(QString::fromUtf8(
        QJsonDocument(QJsonObject{{"id", id}, {"method", method}, {"params", params}})
            .toJson(QJsonDocument::Compact)));
    if (!waitFor([&] { return m_replies.contains(id); }, ms)) {
        m_error = method + QStringLiteral(": no answer");
        return {};
    }
    const QJsonObject reply = m_replies.take(id);
    if (reply.contains(QStringLiteral("error"))) {
        m_error = method + QStringLiteral(": ") +
                  reply[QStringLiteral("error")][QStringLiteral("message")].toString();
        return {};
    }
    // An empty result still says the command ran.
    QJsonObject result = reply[QStringLiteral("result")].toObject();
    result.insert(QStringLiteral("ok"), true);
    return result;
}

QJsonValue Browser::eval(const QString &expression)
{
    const QJsonObject result =
        call(QStringLiteral("Runtime.evaluate"),
             {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}});
    if (result.contains(QStringLiteral("exceptionDetails")))
        m_error = result[QStringLiteral("exceptionDetails")].toObject().value("text").toString();
    return result[QStringLiteral("result")][QStringLiteral("value")];
}

bool Browser::open(const QString &url)
{
    m_loaded = false;
    if (call(QStringLiteral("Page.navigate"), {{"url", url}}).isEmpty())
        return false;
    return waitFor([this] { return m_loaded; }, 15000);
}

bool Browser::tap(const QString &selector)
{
    const QJsonValue box =
        eval(QStringLiteral(R"((() => {
        const e = document.querySelector(%1);
        if (!e) return null;
        e.scrollIntoView({block: 'center'});
        const r = e.getBoundingClientRect();
        return {x: r.left + r.width / 2, y: r.top + r.height / 2};
    })())")
                 .arg(QString::fromUtf8(
                          QJsonDocument(QJsonArray{selector}).toJson(QJsonDocument::Compact))
                          .mid(1)
                          .chopped(1)));
    if (!box.isObject()) {
        m_error = selector + QStringLiteral(": no such element");
        return false;
    }
    for (const char *type : {"mousePressed", "mouseReleased"}) {
        if (call(QStringLiteral("Input.dispatchMouseEvent"), {{"type", type},
                                                              {"x", box["x"]},
                                                              {"y", box["y"]},
                                                              {"button", "left"},
                                                              {"clickCount", 1}})
                .isEmpty())
            return false;
    }
    return true;
}

QByteArray Browser::screenshot(bool whole)
{
    QJsonObject params{{"format", "png"}};
    if (whole) {
        const QJsonObject size =
            call(QStringLiteral("Page.getLayoutMetrics"))[QStringLiteral("cssContentSize")]
                .toObject();
        params.insert("captureBeyondViewport", true);
        params.insert("clip", QJsonObject{{"x", 0},
                                          {"y", 0},
                                          {"width", size["width"]},
                                          {"height", size["height"]},
                                          {"scale", 1}});
    }
    const QJsonObject shot = call(QStringLiteral("Page.captureScreenshot"), params);
    return QByteArray::fromBase64(shot[QStringLiteral("data")].toString().toLatin1());
}

bool Browser::resize(int width, int height, bool mobile)
{
    return !call(QStringLiteral("Emulation.setDeviceMetricsOverride"), {{"width", width},
                                                                        {"height", height},
                                                                        {"deviceScaleFactor", 1},
                                                                        {"mobile", mobile}})
                .isEmpty();
}
