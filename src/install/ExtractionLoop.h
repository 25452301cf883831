#pragma once

class InstallContext;

// Unpacks every packed copy of the current kind into its installed data file
// and removes the copy, moving the bar from 40 to 100. A file that fails gets
// a status line with its reason, is counted, and the loop goes on; a file that
// replaced an installed one gets its "Overwritten" line only once it has.
// Returns false when the user cancelled; on request the files this run
// installed for the kind are removed again. With InstallContext::unpackAhead
// the files come from its workers, in list order; else they are unpacked in
// turn on the run's thread.
[[nodiscard]] bool ExtractCopiedFiles(InstallContext &context);

// How many threads unpack: InstallContext::unpackWorkers, else as many as the
// machine has cores, at most 8; one when the journal has a test fault point.
int UnpackWorkers(const InstallContext &context);
