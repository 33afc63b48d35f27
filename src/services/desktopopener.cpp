#include "desktopopener.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace tz {

namespace {

// How long the opener may take to say whether it found a program. xdg-open
// returns at once on the common desktops; without one it may run the program
// itself and stay until that ends, which is then taken as success.
constexpr int kOpenWaitMs = 5000;

QString openerProgram(const QString &command)
{
    if (command.contains(u'/'))
        return QFileInfo(command).isExecutable() ? command : QString();
    return QStandardPaths::findExecutable(command);
}

QString exitReason(const QString &command, int code, const QString &output)
{
    QString reason;
    if (QFileInfo(command).fileName() == QLatin1String("xdg-open")) {
        switch (code) {
        case 2: reason = QStringLiteral("soubor nebyl nalezen"); break;
        case 3: reason = QStringLiteral("v systému chybí nástroj, který xdg-open potřebuje"); break;
        case 4: reason = QStringLiteral("v systému není nastaven program pro tento druh souborů"); break;
        default: break;
        }
    }
    if (reason.isEmpty())
        reason = QStringLiteral("program %1 skončil s chybou %2").arg(command).arg(code);
    const QString first = output.trimmed().section(u'\n', 0, 0).trimmed();
    if (!first.isEmpty())
        reason += QStringLiteral(" (%1)").arg(first);
    return reason;
}

} // namespace

bool DesktopOpener::openFile(const QString &path)
{
    m_error.clear();
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString forced = qEnvironmentVariable("TAVOZZ_OPEN_COMMAND");
    const QString command = forced.isEmpty() ? QStringLiteral("xdg-open") : forced;
    const QString program = openerProgram(command);
    if (program.isEmpty()) {
        // without xdg-open Qt may still find a way (a desktop portal, another launcher)
        if (forced.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            return true;
        m_error = QStringLiteral("v systému chybí program %1").arg(command);
        return false;
    }
    auto *p = new QProcess;
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(program, {path});
    if (!p->waitForStarted()) {
        m_error = QStringLiteral("program %1 se nepodařilo spustit: %2").arg(program, p->errorString());
        delete p;
        return false;
    }
    if (!p->waitForFinished(kOpenWaitMs)) {
        // still running: the program opened the file in the foreground
        if (QCoreApplication::instance())
            p->setParent(QCoreApplication::instance());
        QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
        return true;
    }
    const bool ok = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
    if (!ok)
        m_error = p->exitStatus() == QProcess::NormalExit
                      ? exitReason(program, p->exitCode(), QString::fromLocal8Bit(p->readAll()))
                      : QStringLiteral("program %1 byl ukončen").arg(program);
    delete p;
    return ok;
#else
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    m_error = QStringLiteral("v systému není nastaven program pro tento druh souborů");
    return false;
#endif
}

void DesktopOpener::inform(const QString &message)
{
    if (m_informer)
        m_informer(message);
    else
        qWarning().noquote() << message;
}

} // namespace tz
