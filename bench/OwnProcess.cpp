#include "OwnProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace bench {

long StatusKiB(const char* field) {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

void ResetPeak() {
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

bool MeasureInFreshProcess(const QStringList& args, QByteArray* output) {
    QProcess p;
    p.setProcessChannelMode(output ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
    p.start(QCoreApplication::applicationFilePath(), QStringList{"--measure"} + args);
    p.waitForFinished(-1);
    if (output)
        *output = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace bench
