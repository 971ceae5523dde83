#pragma once

// The path commands of a box's menu ("On 1 goto..." to "On False goto..."): a command waits
// for the user to click the destination box, then adds one path line to the module the menu
// was opened on. While it waits, the canvas shows a cursor of the command's own.

#include <QCursor>
#include <QString>

namespace ry {

// Mouse pointers of a canvas: arrow with the selection tool, cross with a module tool, and
// the cursor of a pending path command.
inline constexpr int kPointerArrow = 1;
inline constexpr int kPointerCross = 2;
inline constexpr int kPointerPathCommand = 99;

// Commands 1..17: digits 1..9, then 0, *, #, success, fail, timeout, true, false.
inline constexpr int kFirstPathCommand = 1;
inline constexpr int kPathCommandTimeout = 15;
inline constexpr int kLastPathCommand = 17;

// The command of a menu key ("on1".."on9", "on0", "onStar", "onHash", "onSuccess", "onFail",
// "onTimeout", "onTrue", "onFalse"); 0 for any other key.
int PathCommandOfKey(const QString& key);

// What the command writes between the braces; the timeout command writes "timeout " followed
// by the seconds, see TimeoutTrigger. Empty outside 1..17.
QString PathCommandTrigger(int command);
// The menu key of a command ("on1", "onTrue"); empty outside 1..17.
QString PathCommandKey(int command);

// "timeout " and the seconds the user typed: blanks around them are dropped, an empty answer
// is 0, and the number is kept within the 0..3600 seconds a timeout may last. Anything that
// is not a whole number counts as 0, so the line never carries braces or brackets typed by
// mistake.
QString TimeoutTrigger(const QString& typedSeconds);

// The line a command adds: on {trigger} goto [title].
QString PathCommandLine(const QString& trigger, const QString& destinationTitle);

// The cursor shown while the command waits: an arrow with the trigger beside it.
QCursor PathCommandCursor(int command);

} // namespace ry
