#include "canvas/path_commands.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <array>

namespace ry {

namespace {

struct CommandInfo {
    const char* key;
    const char* trigger;
    const char* badge; // what the cursor shows
};

constexpr std::array<CommandInfo, kLastPathCommand> kCommands = {{
    {"on1", "1", "1"},
    {"on2", "2", "2"},
    {"on3", "3", "3"},
    {"on4", "4", "4"},
    {"on5", "5", "5"},
    {"on6", "6", "6"},
    {"on7", "7", "7"},
    {"on8", "8", "8"},
    {"on9", "9", "9"},
    {"on0", "0", "0"},
    {"onStar", "*", "*"},
    {"onHash", "#", "#"},
    {"onSuccess", "success", "OK"},
    {"onFail", "fail", "F"},
    {"onTimeout", "timeout ", "T"},
    {"onTrue", "true", "Tr"},
    {"onFalse", "false", "Fa"},
}};

constexpr int kMaxTimeoutSeconds = 3600;

} // namespace

int PathCommandOfKey(const QString& key) {
    for (size_t i = 0; i < kCommands.size(); ++i)
        if (key == QLatin1String(kCommands[i].key))
            return static_cast<int>(i) + 1;
    return 0;
}

QString PathCommandTrigger(int command) {
    if (command < kFirstPathCommand || command > kLastPathCommand)
        return {};
    return QLatin1String(kCommands[static_cast<size_t>(command - 1)].trigger);
}

QString PathCommandKey(int command) {
    if (command < kFirstPathCommand || command > kLastPathCommand)
        return {};
    return QLatin1String(kCommands[static_cast<size_t>(command - 1)].key);
}

QString TimeoutTrigger(const QString& typedSeconds) {
    bool ok = false;
    int seconds = typedSeconds.trimmed().toInt(&ok);
    if (!ok || seconds < 0)
        seconds = 0;
    seconds = std::min(seconds, kMaxTimeoutSeconds);
    return PathCommandTrigger(kPathCommandTimeout) + QString::number(seconds);
}

QString PathCommandLine(const QString& trigger, const QString& destinationTitle) {
    return QStringLiteral("on {") + trigger + QStringLiteral("} goto [") + destinationTitle +
           QLatin1Char(']');
}

QCursor PathCommandCursor(int command) {
    if (command < kFirstPathCommand || command > kLastPathCommand)
        return QCursor(Qt::ArrowCursor);
    static std::array<QPixmap, kLastPathCommand> pixmaps;
    QPixmap& pixmap = pixmaps[static_cast<size_t>(command - 1)];
    if (pixmap.isNull()) {
        pixmap = QPixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing, true);
        // An arrow pointing up-left, its tip at the hot spot.
        QPainterPath arrow;
        arrow.moveTo(1, 1);
        arrow.lineTo(1, 17);
        arrow.lineTo(5, 13);
        arrow.lineTo(8, 20);
        arrow.lineTo(11, 19);
        arrow.lineTo(8, 12);
        arrow.lineTo(13, 12);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(Qt::black);
        p.drawPath(arrow);
        // The trigger on a small label at the lower right.
        const QRect badge(13, 17, 18, 14);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(255, 255, 180));
        p.drawRoundedRect(badge.adjusted(0, 0, -1, -1), 3, 3);
        QFont font;
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.drawText(badge, Qt::AlignCenter,
                   QLatin1String(kCommands[static_cast<size_t>(command - 1)].badge));
    }
    return QCursor(pixmap, 1, 1);
}

} // namespace ry
