#pragma once

#include "selection/RunSettings.h"

#include <QDir>

// A small data set with all three kinds, a registry export naming two
// installed Vestra versions, and their folders, all in the folder
// "quillon-demo" of the system's temporary folder, made anew and removed
// with the object. A fixed folder keeps the paths in the pictures the same
// from one run to the next. The language files are read from programFolder.
class DemoDataSet
{
public:
    explicit DemoDataSet(const QString &programFolder);
    ~DemoDataSet();

    bool isValid() const { return m_valid; }
    QString errorString() const { return m_error; }
    const RunSettings &settings() const { return m_settings; }

private:
    bool build();
    bool addUnit(const QString &kindFolder, const QString &unit, const QString &file);

    QDir m_dir;
    RunSettings m_settings;
    bool m_valid = false;
    QString m_error;
};
