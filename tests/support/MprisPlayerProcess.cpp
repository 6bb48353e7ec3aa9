// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MprisPlayerProcess.h"

#include <QProcess>

MprisPlayerProcess::MprisPlayerProcess(const QStringList& arguments)
    : m_process(std::make_unique<QProcess>())
{
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(QStringLiteral(TEST_MPRIS_PLAYER), arguments);
    QByteArray line;
    m_ready = m_process->waitForStarted(5000) && waitForLine(&line) && line == "ready";
}

MprisPlayerProcess::~MprisPlayerProcess()
{
    if (m_process->state() == QProcess::NotRunning)
        return;
    m_process->kill(); // a hung player answers nothing, so no polite "quit"
    m_process->waitForFinished(2000);
}

bool MprisPlayerProcess::send(const QString& command)
{
    m_process->write(command.toUtf8() + '\n');
    QByteArray line;
    return waitForLine(&line) && line == "ok";
}

bool MprisPlayerProcess::waitForLine(QByteArray* line)
{
    while (!m_process->canReadLine()) {
        if (m_process->state() == QProcess::NotRunning || !m_process->waitForReadyRead(5000))
            return false;
    }
    *line = m_process->readLine().trimmed();
    return true;
}
