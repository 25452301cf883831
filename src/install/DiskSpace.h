#pragma once

#include <QString>

class InstallContext;

// Before anything is written: whether every destination volume has room for
// the selected kinds' packed copies and unpacked data (as the package headers
// claim it). A replaced file's earlier version is kept until the run ends, so
// it frees nothing; an installed file that the preset answer keeps needs no
// room. When one has not, a
// warning names the volume, the space needed and the space free, and the
// result is false.
[[nodiscard]] bool CheckDiskSpace(InstallContext &context);

// A size as a person reads it: "1.5 GB".
QString SizeText(qint64 bytes);
