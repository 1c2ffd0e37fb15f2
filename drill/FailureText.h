#pragma once

#include "store/StoreError.h"

#include <QString>

namespace drill {

// The damaged-file message of start-up and of the drill launch.
QString damagedFileMessage();

// What the learner is told when an operation on the question file fails. Where the learner can put it right (a
// file or folder that cannot be written, a file another program holds, a full disk, a file moved away) the text
// says how. `wrote` tells whether the operation was going to change the record: the text then says that nothing
// was changed.
QString failureMessage(const store::StoreError& error, bool wrote);

// What the learner is told when Ctrl+Z cannot take a reveal back: the question stays recorded as revealed, and
// Ctrl+Z works again once the cause is put right.
QString undoFailureMessage(const store::StoreError& error);

// The message for a failure at start-up or at the drill launch, after which the program ends. A damaged or
// foreign file gets the damaged-file message; a cause the learner can put right gets the text that says how,
// since downloading the file again would throw the record away for nothing.
QString startFailureMessage(const store::StoreError& error);

} // namespace drill
