#pragma once

#include <QString>

// Where status files are saved when no folder is given: the root of drive C
// on Windows, the user's home folder elsewhere.
QString DefaultStatusFolder();

// The folder the install location dialog falls back to when its start path
// does not exist: "C:/" on Windows, "/" elsewhere.
QString FallbackStartPath();
