#pragma once

#include "selection/RunSettings.h"

class WindowShooter;

// The welcome window, then the install wizard through a User install into
// folders that already hold the data: pages 1, 2 and 5, the install location
// dialog with its drive list open, and the overwrite question.
void WalkWelcomeAndWizard(const RunSettings &settings, const QString &language,
                          WindowShooter &shooter);
