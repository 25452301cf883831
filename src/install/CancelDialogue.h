#pragma once

#include "selection/DataKind.h"

class InstallContext;

// Takes away what the run installed for a kind: the files it created go, the
// files it replaced are put back, the folders it made go when empty. Counted
// in the context's cancel record.
void RemoveWhatTheRunInstalled(InstallContext &context, DataKind kind);

// After a confirmed cancel in the copy step: asks whether to remove what the
// run has put in place so far, and removes it on Yes. Files and folders that
// were there before the run are never removed, and files it replaced are
// put back as they were.
void RunCopyCancelDialogue(InstallContext &context);
