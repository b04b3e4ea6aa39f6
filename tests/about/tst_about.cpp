#include "about/frmabout.h"
#include "about/sysinfo.h"
#include "support/consolefixture.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void registryValueText_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<quint32>("size");
        QTest::addColumn<QString>("text");
        const QByteArray path("C:\\Tools\0\0\0\0", 12);
        QTest::newRow("string ending in a zero byte")
            << SysInfo::RegSz << path << 9u << "C:\\Tools";
        QTest::newRow("string without one") << SysInfo::RegSz << path << 8u << "C:\\Tools";
        QTest::newRow("empty") << SysInfo::RegSz << path << 0u << "";
        // The trailing zero byte goes whatever the type, as with a string.
        QTest::newRow("dword, last byte first")
            << SysInfo::RegDword << QByteArray::fromHex("01A20000") << 4u << "&h00A201";
        QTest::newRow("other type keeps the text") << 3u << path << 9u << "unchanged";
    }
    void registryValueText()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, buffer);
        QFETCH(quint32, size);
        QFETCH(QString, text);
        QString result = QStringLiteral("unchanged");
        SysInfo::decodeRegistryValue(type, buffer, size, result);
        QCOMPARE(result, text);
    }

#ifndef Q_OS_WIN
    void systemInfoWithoutAToolSaysItIsUnavailable()
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "");
        ScriptedDialogs dialogs;
        frmAbout about(&dialogs);
        about.show();
        QTest::mouseClick(about.findChild<QPushButton *>("cmdSysInfo"), Qt::LeftButton);
        qputenv("PATH", path);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("Orvane"));
        QCOMPARE(dialogs.messages[0].text,
                 QStringLiteral("System Information Is Unavailable At This Time"));
        QVERIFY(about.isVisible()); // the box stays open
    }

    // A fake tool that leaves a marker file when started.
    static QString fakeTool(const QTemporaryDir &bin, const QString &name)
    {
        QFile tool(bin.filePath(name));
        if (!tool.open(QIODevice::WriteOnly))
            return {};
        tool.write(QStringLiteral("#!/bin/sh\n: > '%1'\n").arg(bin.filePath("started")).toUtf8());
        tool.close();
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return tool.fileName();
    }

    void systemInfoStartsTheFirstToolOnThePath()
    {
        QTemporaryDir bin;
        const QString tool = fakeTool(bin, SysInfo::candidateTools().constLast());
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit());
        QCOMPARE(SysInfo::findTool(), tool);
        ScriptedDialogs dialogs;
        frmAbout about(&dialogs);
        about.show();
        // Enter on the focused button starts the tool; it does not close the box.
        about.findChild<QPushButton *>("cmdSysInfo")->setFocus();
        QTest::keyClick(about.findChild<QPushButton *>("cmdSysInfo"), Qt::Key_Return);
        qputenv("PATH", path);
        QVERIFY(dialogs.messages.isEmpty());
        QTRY_VERIFY(QFile::exists(bin.filePath("started")));
        QVERIFY(about.isVisible());
    }

    void systemInfoNeverStartsAToolFromARelativeFolder()
    {
        QTemporaryDir bin;
        fakeTool(bin, QStringLiteral("kinfocenter"));
        const QByteArray path = qgetenv("PATH");
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(bin.path());
        qputenv("PATH", ".:bin");
        const QString found = SysInfo::findTool();
        QDir::setCurrent(cwd);
        qputenv("PATH", path);
        QCOMPARE(found, QString());
    }
#endif

    void okAndEscapeCloseTheBox()
    {
        ScriptedDialogs dialogs;
        frmAbout about(&dialogs);
        about.show();
        QTest::mouseClick(about.findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
        about.show();
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
