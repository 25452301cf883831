#include "IdealPipeline.h"

#include <QFile>
#include <QtEndian>

#include <zlib.h>

bool IdealExtract(const QString &packagePath, const QString &dataPath)
{
    QFile in(packagePath);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray package = in.readAll();
    if (package.size() < 16)
        return false;
    const auto unpacked = qFromLittleEndian<quint32>(package.constData() + 8);
    const auto stored = qFromLittleEndian<quint32>(package.constData() + 12);
    QByteArray data;
    if (stored < unpacked) {
        data.resize(unpacked);
        uLongf size = unpacked;
        if (uncompress(reinterpret_cast<Bytef *>(data.data()), &size,
                       reinterpret_cast<const Bytef *>(package.constData() + 16), stored)
                    != Z_OK
            || size != unpacked)
            return false;
    } else {
        data = package.mid(16, unpacked);
    }
    QFile out(dataPath);
    return out.open(QIODevice::WriteOnly) && out.write(data) == data.size();
}
