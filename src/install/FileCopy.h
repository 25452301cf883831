#pragma once

#include <QString>

#include <functional>

// Copies source to target, replacing target, in chunks, calling yield between
// chunks so that window events keep running during a large file. The copy is
// written beside the target and renamed into place only when it is whole: a
// failed copy leaves target as it was. The copy can be read and written by
// its owner whatever the source's attributes were.
class FileCopy
{
public:
    explicit FileCopy(std::function<void()> yield = {});

    [[nodiscard]] bool copy(const QString &source, const QString &target);
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &reason, const QString &path);

    std::function<void()> m_yield;
    QString m_error;
};
