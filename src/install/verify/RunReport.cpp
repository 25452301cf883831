#include "RunReport.h"

#include "install/InstallContext.h"
#include "install/StatusFiles.h"
#include "package/PackageKind.h"
#include "selection/WizardState.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <map>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QJsonObject fileEntry(const FileOutcome &outcome, const QDir &destination)
{
    QJsonObject entry{{u"path"_s, native(destination.relativeFilePath(outcome.path))},
                      {u"result"_s, ResultCode(outcome.result)}};
    if (!outcome.reason.isEmpty())
        entry.insert(u"reason"_s, outcome.reason);
    if (!outcome.detail.isEmpty())
        entry.insert(u"detail"_s, outcome.detail);
    return entry;
}

QJsonObject kindEntry(DataKind kind, const KindState &state, const KindLists &lists)
{
    const QDir destination(state.destination);
    // Every count is present, so that a reader never has to guess a zero.
    std::map<QString, int> counts;
    for (FileOutcome::Result result :
         {FileOutcome::Result::Installed, FileOutcome::Result::Kept, FileOutcome::Result::Replaced,
          FileOutcome::Result::Failed, FileOutcome::Result::Missing, FileOutcome::Result::Different,
          FileOutcome::Result::Removed})
        counts[ResultCode(result)] = 0;
    QJsonArray files;
    for (const FileOutcome &outcome : lists.outcomes) {
        ++counts[ResultCode(outcome.result)];
        files.append(fileEntry(outcome, destination));
    }
    QJsonObject countObject;
    for (const auto &[name, count] : counts)
        countObject.insert(name, count);
    return {{u"kind"_s, DataKindName(kind)},
            {u"source"_s, native(state.sourceFolder)},
            {u"destination"_s, native(state.destination)},
            {u"selectedFiles"_s, lists.sourceFiles.size()},
            {u"unreadFolders"_s, lists.unreadFolders},
            {u"counts"_s, countObject},
            {u"files"_s, files}};
}

} // namespace

RunReport::RunReport(const QString &command)
{
    m_root = {{u"reportVersion"_s, FormatVersion},
              {u"quillonVersion"_s, QStringLiteral(QUILLON_VERSION)},
              {u"command"_s, command},
              {u"kinds"_s, QJsonArray()}};
}

void RunReport::setDataSet(const QString &folder, const DataSetDescription *description)
{
    QJsonObject dataSet{{u"folder"_s, native(folder)}};
    if (description) {
        dataSet.insert(u"year"_s, description->year);
        dataSet.insert(u"season"_s, description->season);
        dataSet.insert(u"volume"_s, description->volume);
    }
    m_root.insert(u"dataSet"_s, dataSet);
}

void RunReport::setVestra(const WizardState &state)
{
    // The base folder is the chosen version's folder with "/Bin/" after it.
    const QString bin = state.baseFolder.chopped(qMin<qsizetype>(1, state.baseFolder.size()));
    const qsizetype index = state.versionFolderList.lastIndexOf(bin);
    if (index < 0)
        return;
    m_root.insert(u"vestra"_s, QJsonObject{{u"version"_s, state.versionList.at(index)},
                                           {u"folder"_s, native(bin.chopped(4))}});
}

void RunReport::setKinds(const InstallContext &context)
{
    QJsonArray kinds;
    for (DataKind kind : AllDataKinds) {
        const KindState &state = context.state.kind(kind);
        if (state.selected)
            kinds.append(kindEntry(kind, state, context.kindLists(kind)));
    }
    m_root.insert(u"kinds"_s, kinds);
}

void RunReport::setError(const QString &message)
{
    m_root.insert(u"error"_s, QString(message).replace(u"\r\n"_s, u"\n"_s));
}

void RunReport::setUndone(bool undone)
{
    m_root.insert(u"undone"_s, undone);
}

void RunReport::setResult(int exitStatus, double elapsedSeconds)
{
    m_root.insert(u"exitStatus"_s, exitStatus);
    m_root.insert(u"elapsedSeconds"_s, qRound(elapsedSeconds * 1000) / 1000.0);
}

bool RunReport::save(const QString &path)
{
    // Deployment tools name a report file in a folder of their own that may
    // not be there yet on a fresh machine; the file is written whole or not at all.
    return SaveFileWhole(path, QJsonDocument(m_root).toJson(QJsonDocument::Indented), &m_error);
}

void RecordUnattempted(InstallContext &context)
{
    for (KindLists &lists : context.lists) {
        QSet<QString> accounted;
        for (const FileOutcome &outcome : std::as_const(lists.outcomes))
            accounted.insert(outcome.path);
        for (const QString &file : std::as_const(lists.destinationFiles)) {
            const QString installed = InstalledName(file);
            if (!accounted.contains(installed))
                lists.outcomes.append(
                        {installed, FileOutcome::Result::Failed, u"not-attempted"_s, {}});
        }
    }
}
