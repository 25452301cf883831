#pragma once

class InstallContext;

// After a confirmed cancel in the copy step: asks whether to remove what the
// run has put in place so far, and removes it on Yes. Files and folders that
// were there before the run are never removed.
void RunCopyCancelDialogue(InstallContext &context);
