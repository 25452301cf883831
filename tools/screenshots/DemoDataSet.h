#pragma once

#include "selection/RunSettings.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A small data set with all three kinds, two installed Vestra versions with
// a registry export naming them, and a folder for status files, laid out as
// on a studio's machine:
//
//   <root>/Kestrel/Vestra 3.1/Bin/...    the installed application
//   <root>/Kestrel/Vestra 2.0/Bin
//   <root>/Kestrel/Season 2027 SS/...    the data set as delivered
//   <root>/Kestrel/Status                status files
//   <root>/Kestrel/AppData/Quillon       the runs' journals and lock (QUILLON_JOURNAL_DIR
//                                        and QUILLON_LOCK_DIR, set while the object lives)
//
// root is a folder that must be empty or missing (scripts/screenshots.sh
// gives a private /opt, so that the pictures show the paths of a real
// installation), or, when none is given, a new temporary folder. Only what
// this object made is removed with it: never a folder that was there before.
class DemoDataSet
{
public:
    DemoDataSet(const QString &programFolder, const QString &root);
    ~DemoDataSet();

    bool isValid() const { return m_valid; }
    QString errorString() const { return m_error; }
    const RunSettings &settings() const { return m_settings; }
    // The installed Vestra 3.1, whose Bin holds the data folders.
    QString vestraFolder() const { return path(QStringLiteral("Vestra 3.1")); }

private:
    bool claimRoot(const QString &root);
    bool build();
    bool addUnit(const QString &kindFolder, const QString &unit, const QString &file);
    QString path(const QString &relative) const;

    std::unique_ptr<QTemporaryDir> m_temporary;
    QString m_root;
    bool m_madeRoot = false;
    QStringList m_made; // entries of the root this object made
    RunSettings m_settings;
    bool m_valid = false;
    QString m_error;
};
