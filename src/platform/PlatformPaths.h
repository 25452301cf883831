#pragma once

#include <QString>

// Where status files are saved when no folder is given: the root of drive C
// on Windows, the user's home folder elsewhere.
QString DefaultStatusFolder();

// A folder that every user of this computer can make files in, for what
// all of them share (the lock that keeps install runs apart): the common
// application data folder on Windows ("C:/ProgramData/Quillon"), /run/lock
// elsewhere (or the temporary folder where that is missing).
QString MachineSharedFolder();

// The name of the user this process runs as, as the system knows it (not
// as the environment says, which a program started for another user keeps);
// empty when it cannot be found.
QString CurrentUserName();

// The folder the install location dialog falls back to when its start path
// does not exist: "C:/" on Windows, "/" elsewhere.
QString FallbackStartPath();
