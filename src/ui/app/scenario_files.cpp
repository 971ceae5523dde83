#include "app/scenario_files.h"

#include "script/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>

namespace ry {

namespace {

std::string HostBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString LineText(const ScenarioError& error) {
    const QString what = QString::fromStdString(error.Message);
    return error.Line > 0 ? QStringLiteral("line %1: %2").arg(error.Line).arg(what) : what;
}

} // namespace

QString ScenarioFileOf(const QString& scriptPath) {
    const QFileInfo script(scriptPath);
    return script.dir().filePath(script.completeBaseName() + QStringLiteral(".tests.yaml"));
}

ScenarioRead ReadScenarioFile(const QString& file) {
    ScenarioRead result;
    const FileRead read = ReadRegularFile(HostBytes(file), kScenarioSizeLimit);
    if (read.status == FileReadStatus::Missing)
        return result;
    if (!read.Ok()) {
        result.problem = QString::fromStdString(FileReadProblem(read, kScenarioSizeLimit));
        return result;
    }
    ScenarioError error;
    result.scenario = ParseScenario(read.bytes, error);
    if (!result.scenario)
        result.problem = LineText(error);
    return result;
}

QString AddCallToScenarioFile(const QString& file, const QString& scriptPath,
                              const ScenarioCall& call) {
    const FileRead read = ReadRegularFile(HostBytes(file), kScenarioSizeLimit);
    std::string text;
    if (read.status == FileReadStatus::Missing) {
        text = NewScenarioText(QFileInfo(scriptPath).fileName().toStdString(), call);
    } else if (!read.Ok()) {
        return QString::fromStdString(FileReadProblem(read, kScenarioSizeLimit));
    } else {
        ScenarioError error;
        const std::optional<std::string> added = AppendScenarioCall(read.bytes, call, error);
        if (!added)
            return LineText(error);
        text = *added;
    }
    return QString::fromStdString(WriteFileReplacing(HostBytes(file), text));
}

} // namespace ry
