#pragma once

#include "ResultsList.h"
#include "Services.h"
#include "WindowPointer.h"
#include "WriteProgress.h"

#include <QString>

namespace velmora {

inline const QString kSaveDialogTitle = QStringLiteral("Save");
inline const QString kSaveDialogFilter =
    QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");

QString overwriteQuestion(const QString& fileName);

// "Save Results As Text File": asks for a name (and before replacing a file, whether
// that is wanted), writes the header and the ticked rows aligned, showing the steps on
// the progress callback, and says "Done." when the file is complete. A file that could
// not be written gives one message naming it and the reason instead; how an existing file
// is replaced or rewritten, and what is refused, is SaveListviewProperlySpaced's.
void SaveResultsAsTextFile(const ResultsList& list, Services& services, WindowPointer& pointer,
                           const WriteProgress& progress);

} // namespace velmora
