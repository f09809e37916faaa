#pragma once

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

// A dictd of this machine's German-English dictionary (scripts/setup.sh
// installs both), on a free port of its own, for a test or a bench; stopped
// with the object. start() is false when dictd or the dictionary is missing,
// or the server does not answer within five seconds.
struct LocalDictServer {
    QTemporaryDir folder;
    QProcess process;
    quint16 port = 0;

    static bool installed() {
        return QFile::exists(QStringLiteral("/usr/sbin/dictd")) &&
               QFile::exists(dictionary() + QStringLiteral(".index"));
    }
    static QString dictionary() { return QStringLiteral("/usr/share/dictd/freedict-deu-eng"); }

    bool start() {
        if (!installed())
            return false;
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                 QFileDevice::WriteOther | QFileDevice::ExeOther);
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost);
            port = probe.serverPort();
        }
        QFile config(folder.filePath(QStringLiteral("dictd.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return false;
        config.write(QStringLiteral("global { listen_to 127.0.0.1\nport %1 }\naccess { allow * }\n"
                                    "database fd-deu-eng { data %2.dict.dz index %2.index }\n")
                         .arg(port)
                         .arg(dictionary())
                         .toUtf8());
        config.close();
        process.start(QStringLiteral("/usr/sbin/dictd"),
                      {QStringLiteral("-c"), config.fileName(), QStringLiteral("-d"),
                       QStringLiteral("nodetach"), QStringLiteral("--pid-file"),
                       folder.filePath(QStringLiteral("pid"))});
        for (int tries = 0; tries < 50; ++tries) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            if (probe.waitForConnected(100))
                return true;
            QThread::msleep(100);
        }
        return false;
    }
    LocalDictServer() = default;
    LocalDictServer(const LocalDictServer&) = delete;
    LocalDictServer& operator=(const LocalDictServer&) = delete;
    ~LocalDictServer() {
        process.terminate();
        process.waitForFinished();
    }
};
