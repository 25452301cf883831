#pragma once

class InstallContext;

// Creates the current kind's folders, then copies its packed files into the
// destination, asking before an installed data file is overwritten. Moves the
// bar from 10 to 40. Returns false when the user cancelled; what is removed
// then is the user's choice in the cancel dialogue. A file that cannot be
// copied gets a status line with its reason and is counted as failed; a
// destination that cannot be written at all refuses the kind (one status
// line, KindLists::refused) and the step returns true.
[[nodiscard]] bool PrepareAndCopyKind(InstallContext &context);
