#pragma once

#include <QJsonObject>
#include <QString>

class InstallContext;
class WizardState;
struct DataSetDescription;

// The JSON report of an unattended install, check or repair, which deployment
// tools collect. The README describes its fields ("The report file");
// FormatVersion goes up when a field changes its meaning or goes away.
class RunReport
{
public:
    static constexpr int FormatVersion = 1;

    // command: "install", "verify" or "repair".
    explicit RunReport(const QString &command);

    void setDataSet(const QString &folder, const DataSetDescription *description);
    // The Vestra version whose folder the default destinations lie in.
    void setVestra(const WizardState &state);
    // Per selected kind: where it goes, and what became of its files.
    void setKinds(const InstallContext &context);
    // Why the command could not start.
    void setError(const QString &message);
    // Whether what the run had done was undone (a stop request).
    void setUndone(bool undone);
    void setResult(int exitStatus, double elapsedSeconds);

    QJsonObject toJson() const { return m_root; }
    // Writes the report whole or not at all: an earlier file stays until the
    // new one is complete. Missing folders above it are made.
    [[nodiscard]] bool save(const QString &path);
    // The file's native path and why it could not be written.
    QString errorString() const { return m_error; }

private:
    QJsonObject m_root;
    QString m_error;
};

// Files of a run that were neither installed, kept nor failed (the run was
// cancelled, or their destination was refused) are recorded as failed, with
// the reason "not-attempted", so that a report accounts for every file.
void RecordUnattempted(InstallContext &context);
