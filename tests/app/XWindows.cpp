#include "XWindows.h"

#include <QProcess>
#include <QRegularExpression>

namespace xwindows {

namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString windowId(WId window) {
    return QString::number(static_cast<qulonglong>(window));
}

int xwininfoValue(const QString& info, const char* label) {
    const QRegularExpression line(QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(label)));
    const QRegularExpressionMatch match = line.match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

QString textProperty(WId window, const char* property) {
    const QString output = run(QStringLiteral("xprop"), {QStringLiteral("-id"), windowId(window),
                                                         QString::fromLatin1(property)});
    // _NET_WM_NAME(UTF8_STRING) = "Velbrook"
    const QRegularExpression value(QStringLiteral("= \"(.*)\"\\s*$"));
    const QRegularExpressionMatch match = value.match(output);
    if (!match.hasMatch()) {
        return {};
    }
    QString text = match.captured(1);
    text.replace(QStringLiteral("\\\""), QStringLiteral("\""));
    return text;
}

QRect frameGeometry(WId window) {
    const QString extents = run(QStringLiteral("xprop"), {QStringLiteral("-id"), windowId(window),
                                                          QStringLiteral("_NET_FRAME_EXTENTS")});
    // _NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 5   (left, right, top, bottom)
    const QRegularExpression numbers(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)\\s*$"));
    const QRegularExpressionMatch frame = numbers.match(extents);
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), windowId(window)});
    const int x = xwininfoValue(info, "Absolute upper-left X");
    const int y = xwininfoValue(info, "Absolute upper-left Y");
    const int width = xwininfoValue(info, "Width");
    const int height = xwininfoValue(info, "Height");
    if (!frame.hasMatch() || width <= 0 || height <= 0) {
        return {};
    }
    const int left = frame.captured(1).toInt();
    const int right = frame.captured(2).toInt();
    const int top = frame.captured(3).toInt();
    const int bottom = frame.captured(4).toInt();
    return QRect(x - left, y - top, width + left + right, height + top + bottom);
}

bool typeKeys(const QStringList& keys) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace xwindows
